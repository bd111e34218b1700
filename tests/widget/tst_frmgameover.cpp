#include "Windows.h"
#include "shell/Application.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <cmath>

class tst_frmgameover : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<WindowsFixture> m_fx;

    static QColor background(QWidget *w) { return w->palette().color(QPalette::Window); }
    static void tick(frmGameOver *form) { QVERIFY(fire(form->controls().timer("tmrTimer1"))); }
    static QList<QWidget *> flashing(frmGameOver *form)
    {
        return {form->client(), form->controls().label("lblGameOver"),
                form->controls().label("lblTitle"), form->controls().label("lblTryAgain")};
    }

private slots:
    void initTestCase() { Application::registerFontSubstitutions(); }
    void init() { m_fx = std::make_unique<WindowsFixture>(); }
    void cleanup() { m_fx.reset(); }

    void designValues()
    {
        frmGameOver *form = Forms::show<frmGameOver>();
        QCOMPARE(form->client()->size(), QSize(402, 213));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(form->windowTitle(), QStringLiteral("～ルミナク～ ホロワ村放射能汚染事故ゲーム"));
        QLabel *title = form->controls().label("lblTitle");
        QCOMPARE(title->text(), QStringLiteral("ルミナク事故発生!!"));
        QCOMPARE(title->geometry(), QRect(40, 8, 337, 49));
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(title->font().bold());
        QCOMPARE(form->controls().label("lblGameOver")->text(), QStringLiteral("GAME OVER"));
        QVERIFY(form->controls().label("lblGameOver")->font().bold());
        QCOMPARE(form->controls().label("lblTryAgain")->text(), QStringLiteral("Try Again!"));
        QVERIFY(!form->controls().label("lblTryAgain")->font().bold());
        // One-line labels keep their whole text on the line, at most at the designed size.
        const QList<QPair<const char *, int>> designed = {
            {"lblTitle", 48}, {"lblGameOver", 27}, {"lblTryAgain", 19}};
        for (const auto &[name, pixels] : designed) {
            QLabel *label = form->controls().label(name);
            QVERIFY(!label->wordWrap());
            QVERIFY(label->font().pixelSize() <= pixels);
            QVERIFY(label->font().pixelSize() >= pixels * 3 / 4);
            QVERIFY(QFontMetrics(label->font()).horizontalAdvance(label->text()) <=
                    label->contentsRect().width());
        }
        QPushButton *ok = form->controls().button("cmdOKButton");
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(ok->geometry(), QRect(160, 168, 81, 25));
        QVERIFY(!ok->isDefault());
        QCOMPARE(form->focusWidget(), ok);
        // Until the first tick, everything shows the face colour of dialogs.
        for (QWidget *w : flashing(form))
            QCOMPARE(background(w), QApplication::palette().color(QPalette::Window));
        QVERIFY(form->controls().timer("tmrTimer1")->isActive());
        QCOMPARE(form->controls().timer("tmrTimer1")->interval(), 20);
        QCOMPARE(m_fx->rt.random.randomizeCount, 1);
    }

    // Each tick draws one value and gives its colour to the window and the three labels.
    void flashStep()
    {
        frmGameOver *form = Forms::show<frmGameOver>();
        const QColor okFace =
            form->controls().button("cmdOKButton")->palette().color(QPalette::Button);
        m_fx->rt.random.values = {0.5f, 0.25f};
        tick(form);
        QCOMPARE(m_fx->rt.random.nextCount, 1);
        for (QWidget *w : flashing(form))
            QCOMPARE(background(w), QColor(0, 0, 128)); // 0x800000 is BBGGRR
        tick(form);
        QCOMPARE(m_fx->rt.random.nextCount, 2);
        for (QWidget *w : flashing(form))
            QCOMPARE(background(w), QColor(0, 0, 64));
        QCOMPARE(form->controls().label("lblTitle")->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));
        QCOMPARE(form->controls().button("cmdOKButton")->palette().color(QPalette::Button), okFace);
    }

    void flashColorCoversEveryColour_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<uint>("color");
        QTest::newRow("0") << 0.0f << 0u;
        QTest::newRow("half") << 0.5f << 0x800000u;
        QTest::newRow("smallest step") << std::ldexp(1.0f, -24) << 1u;
        QTest::newRow("largest below 1") << std::nextafter(1.0f, 0.0f) << 0xFFFFFFu;
    }
    void flashColorCoversEveryColour()
    {
        QFETCH(float, r);
        QFETCH(uint, color);
        QCOMPARE(uint(frmGameOver::flashColor(r)), color);
    }

    // Another third miss while the window is open only shows it again: no reload, no reseed.
    void showingAnOpenWindowChangesNothing()
    {
        frmGameOver *form = Forms::show<frmGameOver>();
        m_fx->rt.random.values = {0.5f};
        tick(form);
        QCOMPARE(Forms::show<frmGameOver>(), form);
        QCOMPARE(m_fx->rt.random.randomizeCount, 1);
        QCOMPARE(background(form->client()), QColor(0, 0, 128));
    }

    // OK stops the timer before the window goes; showing it again reloads the design values.
    void okUnloadsAndShowReloads_data()
    {
        QTest::addColumn<bool>("titleBar");
        QTest::newRow("OK button") << false;
        QTest::newRow("title-bar close") << true;
    }
    void okUnloadsAndShowReloads()
    {
        QFETCH(bool, titleBar);
        frmGameOver *form = Forms::show<frmGameOver>();
        m_fx->rt.random.values = {0.5f};
        tick(form);
        QPointer<QTimer> timer = form->controls().timer("tmrTimer1");
        if (titleBar)
            form->close();
        else
            QTest::mouseClick(form->controls().button("cmdOKButton"), Qt::LeftButton);
        QVERIFY(!timer->isActive());
        QVERIFY(!Forms::find<frmGameOver>());
        QCOMPARE(m_fx->lastWindowGone, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(timer.isNull()); // the timer went with the window
        frmGameOver *again = Forms::show<frmGameOver>();
        QCOMPARE(m_fx->rt.random.randomizeCount, 2);
        QVERIFY(again->controls().timer("tmrTimer1")->isActive());
        QCOMPARE(background(again->client()), QApplication::palette().color(QPalette::Window));
    }
};

QTEST_MAIN(tst_frmgameover)
#include "tst_frmgameover.moc"
