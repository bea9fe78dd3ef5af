// The view of a work window's animation: dot zoom, view distance, window rotation, camera with
// drift and depth zoom, and the picture the frames are drawn into. The window owns one.
#pragma once

#include "AnimeCanvas.h"

#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <optional>

// Evaluates one compiled value expression; nothing when it cannot be evaluated.
using AnimeEvaluate = std::function<std::optional<double>(const QString&)>;

class AnimeView {
public:
    // A view with a picture of the given size filled black.
    AnimeView(int width = 800, int height = 400);

    // The palette's camera text "カメラ P(x,y,z) ｖ(vx,vy,vz)". Cost: constant.
    QString cameraStatusText() const;
    // Rotation, camera and picture back to their start (the saved camera settings stay); the
    // picture is refitted without a shift and filled with the background colour. Cost: one pass
    // over the picture.
    void resetView(uint32_t background);
    // Gives the picture the size that camera z asks for (a smaller picture shown stretched zooms
    // in); the size change is remembered as a shift that keeps the zoom centred. The size stays
    // within 1..kMaxPictureSide. Cost: one allocation when the size changes.
    void refitPicture();
    // The camera's depth step, every 5 ticks of the frame timer: camera z moves by its drift
    // and the picture is refitted, stopping 100 before the picture plane and at the size cap.
    void cameraDepthStep();

    // Run-time settings; each returns the rest of the text after the values it read.
    QString setWinRotation(const QString& params, const AnimeEvaluate& evaluate);
    QString setCamera(const QString& params, const AnimeEvaluate& evaluate);
    QString setWzoom(const QString& params, const AnimeEvaluate& evaluate);
    QString setViewPoint(const QString& params, const AnimeEvaluate& evaluate);

    static constexpr int kMaxPictureSide = 8192;
    static constexpr double kCameraDepth = 2000;

    int dotZoomX = 1, dotZoomY = 1, dotZoomZ = 1;
    int viewDistance = 500;
    WindowRotation rotation;
    double rotaX = 0, rotaY = 0, rotaZ = 0; // window rotation increments per frame (radians)
    double cameraX = 0, cameraY = 0, cameraZ = 0;
    double driftX = 0, driftY = 0, driftZ = 0;
    double referenceX = 0, referenceY = 0;
    std::array<double, 6> savedCamera{}; // x, y, z, drift x, y, z
    double shiftX = 0, shiftY = 0;       // picture shift of the refit, hundredths of a pixel
    double refittedZ = 0;                // camera z at the last refit

    QImage picture;             // RGB32, what the frames are drawn into
    bool stretched = true;      // the picture is shown stretched over the display
    int displayWidth = 800, displayHeight = 400; // Wi x Hi, the display size of the picture
    int zoomPercent = 100;      // the window's zoom
    int64_t yBase = 0;          // origin y + picture height of the last frame
};
