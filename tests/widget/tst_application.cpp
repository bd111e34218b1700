#include "Fakes.h"
#include "shell/Application.h"
#include "shell/RuntimeError.h"

#include <QTest>
#include <QTimer>

namespace
{

// An object whose every event handler fails the way an overflowing counter does.
class Failing : public QObject
{
public:
    bool event(QEvent *) override { throw RuntimeError::overflow(); }
};

} // namespace

class tst_application : public QObject
{
    Q_OBJECT
private slots:
    // An error escaping a handler is reported once in a message box and ends the program with
    // a non-zero status; nothing runs on after it.
    void errorInAHandlerEndsTheProgram()
    {
        FakeRuntime rt;
        Failing failing;
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        const int status = QCoreApplication::exec();
        QCOMPARE(status, 1);
        QCOMPARE(rt.messageBox.shown, 1);
        QVERIFY(rt.messageBox.lastText.contains(QStringLiteral("オーバーフローしました。")));
        QVERIFY(rt.messageBox.lastText.contains(QStringLiteral("'6'")));
        QCOMPARE(rt.messageBox.lastStyle & 0x70, 0x10);
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    tst_application test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
