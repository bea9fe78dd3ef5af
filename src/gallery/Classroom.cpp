#include "Classroom.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "work/TFormWeb.h"

#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

namespace {
constexpr int kClassroomWidth = 1280;
constexpr int kScreenMargin = 100;
} // namespace

QString classroomPage(const QString& homeFolder) { return homeFolder + QStringLiteral("kyoushitsu/index.html"); }

TFormWeb* openClassroom(QWidget* owner, const QString& homeFolder, std::function<void(const QString&)> showWork) {
    const QString page = classroomPage(homeFolder);
    if (!fileExists(page)) {
        showCheck(page, QStringLiteral("ヴィモラアート教室のページがありません！"), 0);
        return nullptr;
    }
    auto* room = new TFormWeb(owner);
    room->setAttribute(Qt::WA_DeleteOnClose);
    room->setWindowTitle(QStringLiteral("ヴィモラアート教室"));
    room->becomeBrowserWindow();
    room->setWindowModality(Qt::ApplicationModal);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, kClassroomWidth, 800);
    room->resize(kClassroomWidth, area.height() - kScreenMargin);
    room->move(area.center() - QPoint(room->width() / 2, room->height() / 2));
    room->onLink = [room, showWork](const QUrl& url) {
        if (!url.isLocalFile() || !url.path().endsWith(QLatin1String(".acmd"), Qt::CaseInsensitive)) return false;
        const QString path = url.toLocalFile();
        room->close();
        if (showWork) showWork(path);
        return true;
    };
    room->navigate(QUrl::fromLocalFile(page));
    room->show();
    return room;
}
