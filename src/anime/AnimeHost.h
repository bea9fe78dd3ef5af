// What the animation asks of the window that shows it: the palette's message list and camera
// label, the work window's placement, frame strips and game panel, and the windows that a
// character kind opens. Tests fake it; a headless run may leave every call at its default.
#pragma once

#include <QString>
#include <memory>

class AnimeInfo;
class AnimeKind;

// Placement values of the work window that the canvas setting reads.
struct AnimeWindowGeometry {
    int left = 0, top = 0, width = 800, height = 400; // outer window
    int screenWidth = 1920, screenHeight = 1080;
    bool docked = true;            // inside the gallery rather than floating
    int areaWidth = 1600, areaHeight = 900; // gallery client area (docked) or screen
    int topPanelHeight = 40;       // gallery's top panel
    bool worksListVisible = false;
    int worksListRight = 0;        // right edge of the works list
    int baseWidth = 1600;          // gallery base width
    bool maximised = false;
};

class AnimeHost {
public:
    virtual ~AnimeHost() = default;
    // A line for the palette's message list.
    virtual void logMessage(const QString& line) = 0;
    // The camera status text, called only while the window is the palette's current one.
    virtual void showCameraStatus(const QString& text) {}
    virtual bool isCurrentWindow() const { return false; }
    // True while the Atelier is open: canvas and frame settings then do nothing.
    virtual bool atelierOpen() const { return false; }
    // Window placement for Canvas and Window.
    virtual AnimeWindowGeometry geometry() const { return {}; }
    virtual void maximise() {}
    virtual void restoreNormal() {}
    virtual void moveWindow(int left, int top) {}
    virtual void resizeWindow(int width, int height) {}
    // Frame strips: thickness (0 leaves a strip as it is), colour and visibility.
    virtual void setFrameStrips(int topBottomHeight, int leftRightWidth) {}
    virtual void paintFrame(uint32_t color, bool visible) {}
    // Paints the animation's frame pattern into the strips.
    virtual void paintFramePattern() {}
    // The picture is refitted and the view (rotation, camera) goes back to its start.
    virtual void resetView() {}
    virtual void setWindowColor(uint32_t color) {}
    virtual void setWallColor(uint32_t color) {}
    // Shows the game pad (a player linked with mode digit 2).
    virtual void showGamePad() {}
    // True while the work window's game pad is shown (a waiting player then starts to play).
    virtual bool gamePadVisible() const { return false; }
    // Hides the game panel and gives it its idle colour (0x006000).
    virtual void hideGamePanel() {}
    // Opens a file-universe (mode 0) or star-journey (mode 1) window inside the animation for
    // the character; nothing while no such window exists in this build.
    virtual std::unique_ptr<AnimeKind> openUniverseWindow(AnimeInfo& owner, const QString& folder,
                                                          const QString& options, int mode) {
        return nullptr;
    }
};
