#include "Windows.h"
#include "shell/Application.h"

#include <QAction>
#include <QTest>

// Repaints are held to one a frame, but the bin the player moves is painted before the key or
// button event returns, even with a step's change waiting for its frame.
class tst_framelimiter : public QObject
{
    Q_OBJECT
    int m_binPaints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_binPaints += event->type() == QEvent::Paint;
        return false;
    }

private slots:
    void initTestCase() { Application::registerFontSubstitutions(); }

    void theMovedBinIsPaintedAtOnce_data()
    {
        QTest::addColumn<bool>("mouse");
        QTest::addColumn<bool>("press");
        QTest::newRow("left arrow pressed") << false << true;
        QTest::newRow("left arrow released") << false << false;
        QTest::newRow("left button pressed") << true << true;
        QTest::newRow("left button released") << true << false;
    }
    void theMovedBinIsPaintedAtOnce()
    {
        QFETCH(bool, mouse);
        QFETCH(bool, press);
        WindowsFixture fx;
        frmMain *form = Forms::show<frmMain>();
        QWindow *window = form->windowHandle();
        const QPoint bare = form->client()->mapTo(form, QPoint(150, 10));
        auto input = [&](bool down) {
            if (mouse)
                QTest::mouseEvent(down ? QTest::MousePress : QTest::MouseRelease, window,
                                  Qt::LeftButton, {}, bare);
            else
                QTest::keyEvent(down ? QTest::Press : QTest::Release, window, Qt::Key_Left);
        };
        form->mnuStart()->trigger();
        QCoreApplication::processEvents(); // the first drop painted, or held for its frame
        if (!press) input(true);
        fire(form->controls().timer("tmrTimer1")); // the next step, its repaint likely held
        m_binPaints = 0;
        form->controls().widget("imgBakets", press ? 0 : 1)->installEventFilter(this);
        input(press);
        QCOMPARE(m_binPaints, 1);
    }
};

QTEST_MAIN(tst_framelimiter)
#include "tst_framelimiter.moc"
