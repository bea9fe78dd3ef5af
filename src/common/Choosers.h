// The program's file, folder and drive choices. Every choice goes through the installed chooser
// sink: the desktop program installs its windows, tests and command-line tools a scripted sink.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

class ChooserSink {
  public:
    virtual ~ChooserSink() = default;
    // A file (filter such as "*.acmd") or, with an empty filter, a folder (ending with "/").
    // `path` holds the path shown first; the chosen path on return, empty when cancelled.
    virtual void choosePath(const QString& filter, const QString& title, QString& path, QWidget* parent,
                            const QString& startFolder) = 0;
    // `drives` holds the drive roots offered, all ticked at first; on return the ticked ones in
    // list order, none when cancelled.
    virtual void chooseDrives(QStringList& drives, QWidget* parent) = 0;
};

// Lets the user choose a file (a filter such as "*.bmp") or a folder (empty filter). `path` is
// the path shown first and receives the chosen one; true when it is not empty. With no sink
// installed nothing is chosen (false, path emptied). Blocks while the chooser is open.
bool choosePath(const QString& filter, const QString& title, QString& path, QWidget* parent = nullptr,
                const QString& startFolder = QString());

// Lets the user tick drives among `drives` (all ticked at first); `drives` receives the ticked
// ones. True when at least one was chosen.
bool chooseDrives(QStringList& drives, QWidget* parent = nullptr);

// Installs a sink (not owned); nullptr removes it. Returns the previous sink.
ChooserSink* setChooserSink(ChooserSink* sink);

class ScopedChooserSink {
  public:
    explicit ScopedChooserSink(ChooserSink* sink) : previous_(setChooserSink(sink)) {}
    ~ScopedChooserSink() { setChooserSink(previous_); }
    ScopedChooserSink(const ScopedChooserSink&) = delete;
    ScopedChooserSink& operator=(const ScopedChooserSink&) = delete;

  private:
    ChooserSink* previous_;
};

// Headless sink: answers path choices from `paths` (an empty text cancels; when the script is
// used up, every choice is cancelled) and drive choices from `driveAnswers` (when used up, all
// offered drives stay ticked). Records every request.
class ScriptedChooserSink : public ChooserSink {
  public:
    struct PathRequest {
        QString filter;
        QString title;
        QString shownFirst;
        QString startFolder;
    };
    void choosePath(const QString& filter, const QString& title, QString& path, QWidget* parent,
                    const QString& startFolder) override;
    void chooseDrives(QStringList& drives, QWidget* parent) override;

    std::deque<QString> paths;
    std::deque<QStringList> driveAnswers;
    std::vector<PathRequest> pathRequests;
    std::vector<QStringList> driveRequests;
};
