// The program's help as a person meets it: F1 finds the topic from the
// focused widget's way up to its window, the help file names open the help
// pages shipped in the program, which show readable text at the topic asked
// for, help asked for from inside a dialog can be read and used while the
// dialog waits, and the shipped pictures are there in their sizes.
#include "platform/BuiltInHelp.h"
#include "platform/ChildWindow.h"
#include "platform/HelpKeyFilter.h"
#include "platform/HelpRequests.h"
#include "platform/HelpWindow.h"
#include "platform/Platform.h"
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
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
    void init();
    void cleanup();
    void contextIds_data();
    void contextIds();
    void helpKey_data();
    void helpKey();
    void pages_data();
    void pages();
    void oneHelpWindow();
    void helpFromInsideADialogIsUsable();
    void artwork_data();
    void artwork();

private:
    HelpRequests m_requests;
};

void HelpTest::init()
{
    Platform::SetHelp(&m_requests);
    m_requests.Clear();
}

void HelpTest::cleanup()
{
    Platform::SetHelp(nullptr);
}

void HelpTest::contextIds_data()
{
    // Ids on the frame around a working window, the working window, a
    // container in it and the focused control, 0 meaning none.
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("container");
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("expected");
    QTest::newRow("control's own") << 0 << 104 << 0 << 103 << 103;
    QTest::newRow("container's") << 0 << 104 << 103 << 0 << 103;
    QTest::newRow("window's") << 0 << 104 << 0 << 0 << 104;
    QTest::newRow("none") << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("frame has no say") << 103 << 0 << 0 << 0 << 0;
}

void HelpTest::contextIds()
{
    QFETCH(int, frame);
    QFETCH(int, window);
    QFETCH(int, container);
    QFETCH(int, control);
    QWidget top;
    top.setProperty("HelpContextID", frame);
    auto *child = new ChildWindow(&top);
    child->setProperty("HelpContextID", window);
    auto *box = new QWidget(child);
    box->setProperty("HelpContextID", container);
    auto *button = new QPushButton(box);
    button->setProperty("HelpContextID", control);
    QTEST(HelpKeyFilter::ContextIdOf(button), "expected");
}

void HelpTest::helpKey_data()
{
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<bool>("owned");
    QTest::addColumn<bool>("opens");
    QTest::newRow("pressed") << true << false << true;
    QTest::newRow("pressed where the key is owned") << true << true << false;
    QTest::newRow("sent by the program where owned") << false << true << true;
}

void HelpTest::helpKey()
{
    QFETCH(bool, pressed);
    QFETCH(bool, owned);
    QFETCH(bool, opens);
    ChildWindow window;
    window.setProperty("HelpContextID", 104);
    auto *target = new KeyTarget(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    target->setFocus();
    HelpKeyFilter filter;
    filter.SetKeyOwner([&](QWidget *focus) { return owned && focus == target; });
    if (pressed) {
        QTest::keyClick(target, Qt::Key_F1);
    } else {
        HelpKeyFilter::SendHelpKey(target);
        QCoreApplication::processEvents();
    }
    const QList<HelpRequests::Request> expected{{QStringLiteral("Velm2.chm"), 104}};
    QCOMPARE(m_requests.Log(), opens ? expected : QList<HelpRequests::Request>());
    // A key that asked for help never reaches the widget as well.
    QCOMPARE(target->presses, opens ? 0 : 1);
}

void HelpTest::pages_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("contents") << "Velm2.chm" << 0 << "qrc:/help/contents.html"
                              << "Velmora Help"
                              << "Running a test and reading its results";
    QTest::newRow("test and results") << "Velm2.chm" << 103 << "qrc:/help/topic103.html"
                                      << "Velmora Help - Running a test and reading its results"
                                      << "CMF = (c1 \u2212 c4) / c1 \u00d7 100";
    QTest::newRow("data window") << "Velm2.chm" << 104 << "qrc:/help/topic104.html"
                                 << "Velmora Help - The data window and the history files"
                                 << "restest. 457";
    QTest::newRow("old-style file") << "Velm.hlp" << 103 << "qrc:/help/topic103.html"
                                    << "Velmora Help - Running a test and reading its results"
                                    << "Unreliable";
    QTest::newRow("name in other case, unknown topic")
        << "VELM2.CHM" << 7 << "qrc:/help/contents.html"
        << "Velmora Help"
        << "F1";
    QTest::newRow("a file the program has not") << "Other.chm" << 103 << ""
                                                << ""
                                                << "";
}

void HelpTest::pages()
{
    QFETCH(QString, file);
    QFETCH(int, topic);
    QFETCH(QString, page);
    BuiltInHelp help;
    help.ShowHelp(file, topic);
    if (page.isEmpty()) {
        QVERIFY(help.Window() == nullptr);
        QVERIFY(helpWindows().isEmpty());
        return;
    }
    HelpWindow *window = help.Window();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(window->Browser()->source(), QUrl(page));
    QTEST(window->windowTitle(), "title");
    QFETCH(QString, phrase);
    QVERIFY2(window->Browser()->toPlainText().contains(phrase), qPrintable(phrase));
    // Every link between the pages leads to a page that is there.
    const QString html = window->Browser()->toHtml();
    for (const char *target : {"contents.html", "topic103.html", "topic104.html"}) {
        if (html.contains(QLatin1String(target)))
            QVERIFY(QFile::exists(QStringLiteral(":/help/") + QLatin1String(target)));
    }
}

void HelpTest::oneHelpWindow()
{
    BuiltInHelp help;
    help.ShowHelp(QStringLiteral("Velm2.chm"), 103);
    help.ShowHelp(QStringLiteral("Velm2.chm"), 104);
    QCOMPARE(helpWindows().size(), 1);
    QCOMPARE(help.Window()->Browser()->source(), QUrl(QStringLiteral("qrc:/help/topic104.html")));
    // The way back leads to the topic shown before.
    QTest::mouseClick(buttonWithText(help.Window(), QStringLiteral("Back")), Qt::LeftButton);
    QCOMPARE(help.Window()->Browser()->source(), QUrl(QStringLiteral("qrc:/help/topic103.html")));
    help.Window()->close();
    QTRY_VERIFY(help.Window() == nullptr);
}

void HelpTest::helpFromInsideADialogIsUsable()
{
    BuiltInHelp help;
    QtDialogs dialogs;
    dialogs.SetHelpOpener([&help](const QString &file, int topic) { help.ShowHelp(file, topic); });
    bool contentsReached = false;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        auto *buttons = modal->findChild<QDialogButtonBox *>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Help), Qt::LeftButton);
        QVERIFY(help.Window() != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(help.Window()));
        QCOMPARE(help.Window()->Browser()->source(),
                 QUrl(QStringLiteral("qrc:/help/topic103.html")));
        // A click in the help window gets through while the dialog waits.
        QTest::mouseClick(buttonWithText(help.Window(), QStringLiteral("Contents")),
                          Qt::LeftButton);
        contentsReached =
            help.Window()->Browser()->source() == QUrl(QStringLiteral("qrc:/help/contents.html"));
        buttons->button(QDialogButtonBox::Cancel)->click();
    });
    Dialogs::Input input;
    input.prompt = QStringLiteral("Enter name of tested please!");
    input.helpFile = QStringLiteral("Velm2.chm");
    input.helpTopic = 103;
    QCOMPARE(dialogs.InputBox(input), std::nullopt);
    QVERIFY(contentsReached);
}

void HelpTest::artwork_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("test window") << ":/art/test.png" << QSize(133, 48);
    QTest::newRow("About logo") << ":/art/logo.png" << QSize(93, 36);
    QTest::newRow("window icon") << ":/art/velmora.png" << QSize(32, 32);
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
