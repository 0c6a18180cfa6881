// The program's help as a person meets it: F1 finds the topic from the
// focused widget's way up to its window, the help file names open the help
// pages shipped in the program at the topic asked for, help can be used
// while a dialog waits, and the shipped pictures are there in their sizes.
#include "ScriptedPlatform.h"
#include "platform/Platform.h"
#include "platform/ui/ChildWindow.h"
#include "platform/ui/HelpContext.h"
#include "platform/ui/QtDialogs.h"
#include "shell/help/BuiltInHelp.h"
#include "shell/help/HelpKeyFilter.h"
#include "shell/help/HelpWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {

// A widget that notes the keys that reach it.
class KeyTarget : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        ++presses;
        QLineEdit::keyPressEvent(event);
    }
};

QList<HelpWindow *> helpWindows()
{
    QList<HelpWindow *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *help = qobject_cast<HelpWindow *>(widget); help != nullptr && help->isVisible())
            windows << help;
    }
    return windows;
}

// A page by its file's name, with "#section" where one is meant.
QUrl page(const QString &name)
{
    const QStringList parts = name.split(QLatin1Char('#'));
    QUrl url(QStringLiteral("qrc:/help/%1.html").arg(parts[0]));
    if (parts.size() > 1)
        url.setFragment(parts[1]);
    return url;
}

QPushButton *buttonWithText(QWidget *window, const QString &text)
{
    for (auto *button : window->findChildren<QPushButton *>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_requests.Clear(); }
    void helpKey_data();
    void helpKey();
    void pages_data();
    void pages();
    void helpWindowFromInsideADialog();
    void placedBesideTheAskingWindow_data();
    void placedBesideTheAskingWindow();
    void artwork_data();
    void artwork();

private:
    ScriptedPlatform m_platform;
    HelpRequests &m_requests = m_platform.help;
};

void HelpTest::helpKey_data()
{
    // Ids on the frame around a working window, the working window, a
    // container in it and the focused control, 0 meaning none; whether the
    // focused control owns the key, and whether the program sends it.
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<bool>("owned");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<int>("topic"); // -1: no help opens
    QTest::newRow("control's own") << QList<int>{0, 104, 0, 103} << false << false << 103;
    QTest::newRow("container's") << QList<int>{0, 104, 103, 0} << false << false << 103;
    QTest::newRow("window's") << QList<int>{0, 104, 0, 0} << false << false << 104;
    QTest::newRow("none: contents") << QList<int>{0, 0, 0, 0} << false << false << 0;
    QTest::newRow("frame has no say") << QList<int>{103, 0, 0, 0} << false << false << 0;
    QTest::newRow("pressed where owned") << QList<int>{0, 104, 0, 0} << true << false << -1;
    QTest::newRow("sent where owned") << QList<int>{0, 104, 0, 0} << true << true << 104;
}

void HelpTest::helpKey()
{
    QFETCH(QList<int>, ids);
    QFETCH(bool, owned);
    QFETCH(bool, sent);
    QFETCH(int, topic);
    QWidget frame;
    auto *window = new ChildWindow(&frame);
    auto *box = new QWidget(window);
    auto *target = new KeyTarget(box);
    const QList<QWidget *> chain{&frame, window, box, target};
    for (int i = 0; i < chain.size(); ++i)
        HelpContext::Set(chain[i], ids[i]);
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    target->setFocus();
    HelpKeyFilter filter;
    filter.SetKeyOwner([&](QWidget *focus) { return owned && focus == target; });
    if (sent) {
        HelpContext::SendHelpKey(target);
        QCoreApplication::processEvents();
    } else {
        QTest::keyClick(target, Qt::Key_F1);
    }
    const QList<HelpRequests::Request> opened{{QStringLiteral("Velm2.chm"), topic}};
    QCOMPARE(m_requests.Log(), topic >= 0 ? opened : QList<HelpRequests::Request>());
    // A key that asked for help never reaches the widget as well.
    QCOMPARE(target->presses, topic >= 0 ? 0 : 1);
}

void HelpTest::pages_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("topic");
    // The page, the window caption and a phrase read on it; none for no page.
    QTest::addColumn<QStringList>("shown");
    const QString title = "Velmora Help";
    const QString test = title + " - Running a test and reading its results";
    QTest::newRow("contents") << "Velm2.chm" << 0
                              << QStringList{"contents", title, "Running a test and reading"};
    QTest::newRow("test and results")
        << "Velm2.chm" << 103
        << QStringList{"topic103", test, "CMF = (c1 \u2212 c4) / c1 \u00d7 100"};
    QTest::newRow("data window") << "Velm2.chm" << 104
                                 << QStringList{"topic104",
                                                title + " - The data window and the history files",
                                                "restest. 457"};
    QTest::newRow("trend window") << "Velm2.chm" << 105
                                  << QStringList{"topic105", title + " - A person's trend",
                                                 "drawn hollow, as a ring"};
    // The question before clearing is the only user of the old-style file.
    QTest::newRow("old-style file: clearing")
        << "Velm.hlp" << 103
        << QStringList{"topic104#clearing", title + " - The data window and the history files",
                       "Clearing the history and the backups"};
    QTest::newRow("name in other case, unknown topic")
        << "VELM2.CHM" << 7 << QStringList{"contents", title, "F1"};
    QTest::newRow("a file the program has not") << "Other.chm" << 103 << QStringList();
}

void HelpTest::pages()
{
    QFETCH(QString, file);
    QFETCH(int, topic);
    QFETCH(QStringList, shown);
    BuiltInHelp help;
    help.ShowHelp(file, topic);
    if (shown.isEmpty()) {
        QVERIFY(help.Window() == nullptr);
        QVERIFY(helpWindows().isEmpty());
        return;
    }
    HelpWindow *window = help.Window();
    QVERIFY(window != nullptr && window->isVisible());
    QCOMPARE(window->Browser()->source(), page(shown[0]));
    QCOMPARE(window->windowTitle(), shown[1]);
    QVERIFY2(window->Browser()->toPlainText().contains(shown[2]), qPrintable(shown[2]));
    // Every link between the pages leads to a page that is there.
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)"));
    for (const auto &match : link.globalMatch(window->Browser()->toHtml()))
        QVERIFY2(QFile::exists(":/help/" + match.captured(1)), qPrintable(match.captured(1)));
}

// Help asked for from a waiting dialog can be read and used; asked for
// again, the one help window turns to the topic, and Back returns.
void HelpTest::helpWindowFromInsideADialog()
{
    BuiltInHelp help;
    QtDialogs dialogs;
    dialogs.SetHelpOpener([&help](const QString &file, int topic) { help.ShowHelp(file, topic); });
    QUrl reached;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        auto *buttons = modal->findChild<QDialogButtonBox *>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Help), Qt::LeftButton);
        QVERIFY(help.Window() != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(help.Window()));
        QCOMPARE(help.Window()->Browser()->source(), page("topic103"));
        QTest::mouseClick(buttonWithText(help.Window(), "Contents"), Qt::LeftButton);
        reached = help.Window()->Browser()->source();
        buttons->button(QDialogButtonBox::Cancel)->click();
    });
    Dialogs::Input input;
    input.prompt = QStringLiteral("Enter name of tested please!");
    input.helpFile = QStringLiteral("Velm2.chm");
    input.helpTopic = 103;
    QCOMPARE(dialogs.InputBox(input), std::nullopt);
    QCOMPARE(reached, page("contents"));

    help.ShowHelp(QStringLiteral("Velm2.chm"), 104);
    QCOMPARE(helpWindows().size(), 1);
    QCOMPARE(help.Window()->Browser()->source(), page("topic104"));
    QTest::mouseClick(buttonWithText(help.Window(), "Back"), Qt::LeftButton);
    QCOMPARE(help.Window()->Browser()->source(), page("contents"));
    help.Window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(help.Window()));
    QTest::keyClick(help.Window()->Browser(), Qt::Key_Escape);
    QTRY_VERIFY(help.Window() == nullptr);
}

void HelpTest::placedBesideTheAskingWindow_data()
{
    QTest::addColumn<QRect>("beside");
    QTest::addColumn<QPoint>("expected");
    // A 1280 x 1024 screen less a 30-pixel panel at the top; help is
    // 520 x 590 with its frame.
    QTest::newRow("room on the right") << QRect(0, 30, 640, 480) << QPoint(648, 30);
    QTest::newRow("room only on the left") << QRect(700, 100, 500, 400) << QPoint(172, 100);
    QTest::newRow("no room on either side, low on the screen")
        << QRect(100, 600, 1000, 400) << QPoint(760, 1024 - 590);
    QTest::newRow("window above the panel") << QRect(0, -20, 400, 300) << QPoint(408, 30);
}

void HelpTest::placedBesideTheAskingWindow()
{
    QFETCH(QRect, beside);
    QFETCH(QPoint, expected);
    QCOMPARE(HelpWindow::PlaceBeside(beside, QSize(520, 590), QRect(0, 30, 1280, 994)), expected);
}

void HelpTest::artwork_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("test window") << ":/art/test.png" << QSize(133, 48);
    QTest::newRow("About logo") << ":/art/logo.png" << QSize(93, 36);
    QTest::newRow("window icon") << ":/art/velmora.png" << QSize(32, 32);
    for (const int size : {16, 48, 64, 128, 256})
        QTest::newRow(qPrintable(QStringLiteral("window icon, %1 px").arg(size)))
            << QStringLiteral(":/art/velmora-%1.png").arg(size) << QSize(size, size);
    for (const char *name : {"save", "print", "clear", "help"})
        QTest::newRow(name) << QStringLiteral(":/art/%1.png").arg(QLatin1String(name))
                            << QSize(16, 16);
}

void HelpTest::artwork()
{
    QFETCH(QString, path);
    const QImage image(path);
    QTEST(image.size(), "size");
    // Something is drawn: at least a tenth of the pixels are not clear.
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    QVERIFY(drawn * 10 >= image.width() * image.height());
}

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
