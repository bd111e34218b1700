#include "Windows.h"

#include <QAction>
#include <QTest>

class tst_application : public QObject
{
    Q_OBJECT
private slots:
    // A run-time error in a handler (here Int() overflowing on a drawn value) stops where Qt
    // called into the game, not by unwinding through Qt's own code: the player sees its message
    // once, the game ends with status 1, and no handler runs after it, not even under the box.
    void errorInAHandlerEndsTheGame()
    {
        WindowsFixture fx;
        frmMain *main = Forms::show<frmMain>();
        fx.rt.random.values = {20000.0f};
        fx.rt.messageBox.whileOpen = [main] { main->mnuVer()->trigger(); };
        bool unwound = false;
        QTimer::singleShot(0, main, [&] {
            try {
                main->mnuStart()->trigger();
            } catch (...) {
                unwound = true;
                QCoreApplication::exit(2);
            }
        });
        QCOMPARE(QCoreApplication::exec(), 1);
        QVERIFY(!unwound);
        QCOMPARE(fx.rt.messageBox.shown, 1);
        QCOMPARE(fx.rt.messageBox.lastStyle & 0x70, int(rt::vbCritical));
        QVERIFY(fx.rt.messageBox.lastText.startsWith(QStringLiteral("実行時エラー '6'")));
        QVERIFY(!Forms::find<frmAbout>());
    }
};

QTEST_MAIN(tst_application)
#include "tst_application.moc"
