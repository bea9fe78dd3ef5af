// The gallery's classroom "vra教室": the Kesto Basic course of the home folder, shown in a browser
// form that is a window of its own. Its links to works of the home folder show those works in
// the gallery instead of their program text.
#pragma once

#include <QString>

#include <functional>

class QWidget;
class TFormWeb;

// The course's first page in the home folder.
QString classroomPage(const QString& homeFolder);

// Opens the classroom owned by `owner`: 1280 pixels wide and the screen's height less 100, centred
// on the screen, modal, freed when it closes. A link to an acmd program closes it and hands the
// program's path to `showWork`. A missing page is reported and nothing opens (nullptr).
// Cost: a browser form (the web engine starts on first use).
TFormWeb* openClassroom(QWidget* owner, const QString& homeFolder, std::function<void(const QString&)> showWork);
