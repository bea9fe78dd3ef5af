// The common windows on the offscreen platform: the message window, the break panel pump,
// panel dragging on a real widget, the drive chooser dialog and the sinks the desktop program installs.
#include "common/DesktopSinks.h"
#include "common/DialogChooserSink.h"
#include "common/TFormPath.h"
#include "common/PanelBreakPoll.h"
#include "common/PanelMouse.h"
#include "common/ShowCheck.h"
#include "common/TFormCheck.h"
#include "common/WidgetCheckSink.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace {

template <class T> T* openWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    return nullptr;
}

// Runs `act` on the open modal window once the event loop of its exec() runs; closes any modal
// window left open so that a failing test cannot hang.
void whenShown(std::function<void()> act) {
    QTimer::singleShot(0, [act] {
        const QPointer<QWidget> shown = QApplication::activeModalWidget();
        act();
        QTimer::singleShot(0, [shown] {
            if (shown && shown->isVisible()) shown->close();
        });
    });
}

TEST(TFormCheck, ButtonsAnswer) {
    const struct {
        int style;
        bool pressYes;
        int answer;
    } cases[] = {{1, true, 1}, {21, false, 0}, {0, false, 0}, {20, false, 0}};
    for (const auto& c : cases) {
        TFormCheck form("text", "caption", c.style);
        whenShown([&] { (c.pressYes ? form.yesButton() : form.noButton())->click(); });
        EXPECT_EQ(form.run(), c.answer) << c.style;
    }
}

TEST(TFormCheck, NoticeShowsOnlyConfirmAndEscapeNeverMeansYes) {
    TFormCheck notice("seen?", "c", 0);
    EXPECT_EQ(notice.noButton()->text(), QStringLiteral("確認"));
    EXPECT_TRUE(notice.yesButton()->isHidden());

    const struct {
        int style;
        int answer;
    } cases[] = {{1, 0}, {4, 4}, {0, 0}};
    for (const auto& c : cases) {
        TFormCheck form("q", "c", c.style);
        whenShown([&] {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&form, &esc);
        });
        EXPECT_EQ(form.run(), c.answer) << c.style;
    }
}

TEST(TFormCheck, SecondLineGoesToTheBottomBand) {
    TFormCheck form(QStringLiteral("コピーしますか？\n残り 3 個"), QStringLiteral("確認"), 21);
    EXPECT_EQ(form.messageBand()->text(), QStringLiteral("コピーしますか？"));
    EXPECT_EQ(form.bottomText()->text(), QStringLiteral("残り 3 個"));
    EXPECT_TRUE(form.messageBand()->alignment() & Qt::AlignLeft);
    EXPECT_EQ(form.captionBand()->text(), QStringLiteral("確認"));
    bool focused = false;
    int bandWidth = 0;
    whenShown([&] {
        focused = form.focusWidget() == form.bottomBand();
        bandWidth = form.bottomBand()->width();
        form.noButton()->click();
    });
    form.run();
    EXPECT_TRUE(focused);
    EXPECT_EQ(bandWidth, form.width() - 14);
    EXPECT_EQ(form.width(), form.checkLayout().width);

    TFormCheck single("one line", "c", 0);
    EXPECT_TRUE(single.messageBand()->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(single.bottomText()->text().isEmpty());
}

TEST(WidgetCheckSink, SecondMessageWhileOneIsOpenAnswersMinusOne) {
    WidgetCheckSink widgets;
    ScopedCheckSink scoped(&widgets);
    int inner = 99;
    whenShown([&] {
        inner = showCheck("inner", "c", 0);
        if (TFormCheck* form = openWindow<TFormCheck>()) form->yesButton()->click();
    });
    EXPECT_EQ(showCheck("outer\nbottom", "c", 21), 1);
    EXPECT_EQ(inner, -1);
    EXPECT_EQ(checkNesting(), 0);
}

class PanelTest : public testing::Test {
  protected:
    void SetUp() override {
        window.resize(300, 200);
        panel = new QWidget(&window);
        panel->setGeometry(0, 0, 100, 100);
        inner = new QWidget(panel);
        inner->setGeometry(10, 10, 20, 20);
        button = new QPushButton("other", &window);
        button->setGeometry(150, 0, 100, 50);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        window.show();
        QThread::msleep(60); // past the pump interval of any earlier call
    }
    static void post(QWidget* target, QEvent::Type type) {
        QCoreApplication::postEvent(
            target, new QMouseEvent(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                                    Qt::NoModifier));
    }
    static void click(QWidget* target) {
        post(target, QEvent::MouseButtonPress);
        post(target, QEvent::MouseButtonRelease);
    }

    QWidget window;
    QWidget* panel = nullptr;
    QWidget* inner = nullptr;
    QPushButton* button = nullptr;
    int clicks = 0;
};

TEST_F(PanelTest, PressOnThePanelIsReportedAndOtherInputDropped) {
    const auto start = std::chrono::steady_clock::now();
    click(button);
    EXPECT_FALSE(pumpPanelMouse(panel));
    EXPECT_EQ(clicks, 0);

    click(inner); // a child of the panel counts as the panel
    // Within 50 ms of the last pass nothing is processed (a slow machine may be past that).
    const bool soon = std::chrono::steady_clock::now() - start < std::chrono::milliseconds(45);
    bool pressed = pumpPanelMouse(panel);
    if (soon) {
        EXPECT_FALSE(pressed);
    }
    if (!pressed) {
        QThread::msleep(60);
        pressed = pumpPanelMouse(panel);
    }
    EXPECT_TRUE(pressed);

    // After the loop the other widgets get their input again.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
    EXPECT_EQ(clicks, 1);
}

TEST_F(PanelTest, BreakPollAsksBeforeBreaking) {
    RecordingCheckSink sink;
    ScopedCheckSink scoped(&sink);
    sink.answers = {0, 1};
    PanelBreakPoll poll(panel, QStringLiteral("コピーを中止しますか？(Y/N)"), QStringLiteral("コピー"));
    EXPECT_FALSE(poll.breakRequested()); // no press: no question
    EXPECT_TRUE(sink.records.empty());
    for (bool expected : {false, true}) {
        QThread::msleep(60);
        click(panel);
        EXPECT_EQ(poll.breakRequested(), expected);
    }
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[0].style, 1);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("コピーを中止しますか？(Y/N)"));

    PanelBreakPoll plain(panel);
    QThread::msleep(60);
    click(panel);
    EXPECT_TRUE(plain.breakRequested());
    EXPECT_EQ(sink.records.size(), 2u);
}

TEST_F(PanelTest, DragPanelSetsCursorAndGeometry) {
    panel->setGeometry(10, 20, 200, 100);
    int px = -1, py = -1;
    dragPanel(190, 50, px, py, panel);
    EXPECT_EQ(panel->cursor().shape(), Qt::SizeHorCursor);
    EXPECT_EQ(panel->geometry(), QRect(10, 20, 200, 100));
    px = 190;
    py = 50;
    dragPanel(195, 50, px, py, panel);
    EXPECT_EQ(panel->geometry(), QRect(10, 20, 205, 100));
    EXPECT_EQ(px, 195);
    dragPanel(100, 50, px, py, panel);
    EXPECT_EQ(panel->cursor().shape(), Qt::SizeAllCursor);
    EXPECT_EQ(panel->geometry(), QRect(10 - 95, 20, 205, 100));
    EXPECT_EQ(px, 195);
}

TEST(DialogChooserSink, DriveListTicksAndCancels) {
    DialogChooserSink dialogs;
    ScopedChooserSink scoped(&dialogs);
    auto answer = [](bool untickSecond, const char* button) {
        whenShown([=] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            if (auto* list = dialog->findChild<QListWidget*>(); list && untickSecond)
                list->item(1)->setCheckState(Qt::Unchecked);
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == QString::fromUtf8(button)) b->click();
        });
    };
    QStringList drives{"/", "/home/", "/mnt/usb/"};
    answer(true, "OK");
    EXPECT_TRUE(chooseDrives(drives));
    EXPECT_EQ(drives, QStringList({"/", "/mnt/usb/"}));
    answer(false, "キャンセル");
    EXPECT_FALSE(chooseDrives(drives));
    EXPECT_TRUE(drives.isEmpty());
}

// The desktop program's sinks put windows behind every chooser and message: a path choice shows
// the program's own path chooser whose answer comes back, and the sinks before them return afterwards.
TEST(DesktopSinks, ChoosersAndMessagesOpenWindows) {
    ScriptedChooserSink scripted;
    ScopedChooserSink before(&scripted);
    {
        DesktopSinks sinks;
        QString shownTitle;
        whenShown([&] {
            auto* form = qobject_cast<TFormPath*>(QApplication::activeModalWidget());
            if (!form) return;
            shownTitle = form->windowTitle();
            form->pathField()->setText(QDir::tempPath() + "/chosen.acmd");
            form->okClicked();
        });
        QString path;
        EXPECT_TRUE(choosePath(QStringLiteral("*.acmd"), QStringLiteral("作品"), path));
        EXPECT_EQ(shownTitle, QStringLiteral("[星]の選択"));
        EXPECT_TRUE(path.endsWith("/chosen.acmd")) << path.toStdString();

        bool driveListShown = false;
        whenShown([&] { driveListShown = QApplication::activeModalWidget() != nullptr; });
        QStringList drives{"/"};
        chooseDrives(drives);
        EXPECT_TRUE(driveListShown);

        bool messageShown = false;
        whenShown([&] { messageShown = qobject_cast<TFormCheck*>(QApplication::activeModalWidget()) != nullptr; });
        showCheck(QStringLiteral("text"), QStringLiteral("caption"), 0);
        EXPECT_TRUE(messageShown);
    }
    QString path;
    EXPECT_FALSE(choosePath(QStringLiteral("*.acmd"), QStringLiteral("作品"), path)); // the script is empty
    EXPECT_EQ(scripted.pathRequests.size(), 1u) << "the earlier sink is back";
}

} // namespace
