// The "Add Measurement" inputs, the entry methods, the ENTER button and the locator command.
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

#include "libs/regional.h"
#include "measure/entry.h"
#include "window_fixture.h"
#include "window_test_registry.h"

namespace fw::testing {

namespace {

// A number text as the window writes it under the regional separator.
QString Num(const char* pointText) {
    return QString::fromLatin1(pointText).replace(QLatin1Char('.'),
                                                  QChar::fromLatin1(SystemDecimalSeparator()));
}

bool IsWhite(const QWidget* w) {
    return w->palette().color(QPalette::Base) == QColor(Qt::white);
}

void ChooseMethod(WindowFixture& f, int index) {
    QAbstractButton* b = f.c().RadioGroup1Buttons->button(index);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));  // on the circle
}

}  // namespace

class EntryTest : public QObject {
    Q_OBJECT

  private slots:
    void entryMethodsSetEditStates() {
        WindowFixture f;
        MainControls& c = f.c();
        c.EditAntVol->setText(QStringLiteral("40"));
        ChooseMethod(f, 3);  // field strength
        QVERIFY(!c.CBSValue->isEnabled() && !IsWhite(c.CBSValue));
        for (QLineEdit* e : {c.EditGain, c.EditAntdBm, c.EditAntVol}) {
            QVERIFY(e->isReadOnly() && !IsWhite(e));
            QVERIFY(e->text().isEmpty());
        }
        QVERIFY(!c.EditFieldStrength->isReadOnly() && IsWhite(c.EditFieldStrength));

        c.EditFieldStrength->setText(QStringLiteral("20"));
        ChooseMethod(f, 1);  // antenna voltage: power and field strength emptied
        QVERIFY(!c.EditAntVol->isReadOnly() && IsWhite(c.EditAntVol));
        QVERIFY(!c.EditGain->isReadOnly());
        QVERIFY(c.EditFieldStrength->text().isEmpty());
        QVERIFY(c.EditFieldStrength->isReadOnly());

        ChooseMethod(f, 0);
        QCOMPARE(c.RadioGroup1Buttons->checkedId(), 0);
        QVERIFY(c.CBSValue->isEnabled());
        QVERIFY(IsWhite(c.CBSValue));

        // A field-strength entry leaves dash marks in the fields it cannot determine.
        ChooseMethod(f, 3);
        c.EditFieldStrength->setText(QStringLiteral("20"));
        QTest::mouseClick(c.ButEnter, Qt::LeftButton);
        QCOMPARE(f.window->document().measList().size(), 1u);
        QCOMPARE(f.window->document().measList().row(0).gainDbi, -999.0);
        for (QLineEdit* e : {c.EditAntdBm, c.EditAntVol, c.EditGain})
            QCOMPARE(e->text(), QStringLiteral(" --- "));
        QCOMPARE(c.EditFieldStrength->text(), Num("20.0"));
    }

    void freeFrequencyBoxSwitchesTheInput() {
        WindowFixture f;
        MainControls& c = f.c();
        QTest::mouseClick(c.CBFreqMode, Qt::LeftButton);
        QVERIFY(!c.EditFrequency->isReadOnly() && IsWhite(c.EditFrequency));
        QVERIFY(!c.CBBand->isEnabled() && !IsWhite(c.CBBand));
        QTest::mouseClick(c.CBFreqMode, Qt::LeftButton);
        QVERIFY(c.EditFrequency->isReadOnly() && !IsWhite(c.EditFrequency));
        QVERIFY(c.CBBand->isEnabled() && IsWhite(c.CBBand));
    }

    void doubleClicksPutResetValues() {
        WindowFixture f;
        MainControls& c = f.c();
        QVERIFY(c.EditAntVol->isReadOnly());
        QTest::mouseDClick(c.EditAntVol, Qt::LeftButton);
        QCOMPARE(c.EditAntVol->text(), QStringLiteral("22"));
        QTest::mouseDClick(c.EditAntdBm, Qt::LeftButton);
        QCOMPARE(c.EditAntdBm->text(), QStringLiteral("-103"));
        c.EditGain->setText(QStringLiteral("9"));
        QTest::mouseDClick(c.EditGain, Qt::LeftButton);
        QCOMPARE(c.EditGain->text(), Num("2.15"));
        c.EditFieldStrength->setText(QStringLiteral("5"));
        QTest::mouseDClick(c.EditFieldStrength, Qt::LeftButton);
        QCOMPARE(c.EditFieldStrength->text(), QStringLiteral("5"));
    }

    void defaultEntryAddsTheS9Row() {
        WindowFixture f;
        MainControls& c = f.c();
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);
        QTest::keyClick(f.window.get(), Qt::Key_Return);  // the default button

        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.window->document().measList().size(), 1u);
        const MeasRow row = f.window->document().measList().row(0);
        QCOMPARE(row.freqMHz, 3.65);
        QCOMPARE(row.entryUnit, std::string("S-Val"));
        QCOMPARE(row.bandwidthHz, 2700.0);
        QVERIFY(std::abs(row.fieldDbuVm - 13.299) < 0.001);
        QCOMPARE(c.EditAntdBm->text(), Num("-73.0"));
        QCOMPARE(c.EditAntVol->text(), Num("34.0"));
        QCOMPARE(c.EditFieldStrength->text(), Num("13.3"));
        QCOMPARE(c.EditGain->text(), Num("2.15"));
        QCOMPARE(c.userListModel->stringList().size(), 3);
        QCOMPARE(redraws.count(), 1);
        // The trace is cleared, then six conversion lines and the redraw's size lines.
        const QStringList memo = f.memoLines();
        QCOMPARE(memo.size(), 8);
        QVERIFY(memo[0].startsWith(QStringLiteral("fMHz.....: ")));
        QCOMPARE(memo[0], QStringLiteral("fMHz.....: ") + Num("3.6500"));
        QVERIFY(memo[6].startsWith(QStringLiteral("w:")));
    }

    // A refused input resets its own field and empties the results, which would otherwise
    // stand beside a value they do not belong to.
    void refusedInputResetsItsFieldAndEmptiesTheResults() {
        WindowFixture f;
        MainControls& c = f.c();
        ChooseMethod(f, 2);  // antenna power
        c.EditGain->setText(QStringLiteral("abc"));
        c.EditAntdBm->setText(QStringLiteral("xyz"));
        c.EditAntVol->setText(QStringLiteral("keep"));
        const QStringList memo = f.memoLines();
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);

        c.ButEnter->click();
        QCOMPARE(
            f.dialogs.messages,
            std::vector<ShownMessage>({{"Warnung", QString::fromStdString(WithSeparatorName(
                                                       GainWarning, SystemDecimalSeparator()))}}));
        QCOMPARE(c.EditGain->text(), Num("2.15"));
        QCOMPARE(c.EditAntdBm->text(), QStringLiteral("xyz"));

        c.ButEnter->click();
        QCOMPARE(f.dialogs.messages.back(),
                 (ShownMessage{"Warnung", QString::fromStdString(WithSeparatorName(
                                              AntennaPowerWarning, SystemDecimalSeparator()))}));
        QCOMPARE(c.EditAntdBm->text(), QStringLiteral("-73"));
        QVERIFY(c.EditAntVol->text().isEmpty() && c.EditFieldStrength->text().isEmpty());

        QVERIFY(f.window->document().measList().empty());
        QCOMPARE(f.memoLines(), memo);
        QCOMPARE(redraws.count(), 0);
        c.ButEnter->click();  // now every input parses
        QCOMPARE(f.window->document().measList().size(), 1u);
    }

    // Texts typed into the band and S-value boxes: S9+N by the table's rule, anything else
    // outside the lists refused with what is accepted, nothing added.
    void typedSelectorTextsOutsideTheListsAreRefused() {
        WindowFixture f;
        MainControls& c = f.c();
        c.CBSValue->setEditText(QStringLiteral("S9+5"));
        c.ButEnter->click();
        QCOMPARE(f.window->document().measList().size(), 1u);
        QCOMPARE(f.window->document().measList().row(0).sUnits, 9 + 5 / 6.0);
        const struct {
            QComboBox* box;
            const char* text;
            std::string message;
        } cases[] = {{c.CBSValue, "S9+61", UnknownSValueText("S9+61")},
                     {c.CBBand, "60m", UnknownBandText("60m")}};
        for (const auto& r : cases) {
            r.box->setEditText(QString::fromLatin1(r.text));
            c.ButEnter->click();
            QCOMPARE(f.dialogs.messages.back(),
                     (ShownMessage{"Warnung", QString::fromStdString(r.message)}));
            QCOMPARE(f.window->document().measList().size(), 1u);
            QCOMPARE(r.box->currentText(), QString::fromLatin1(r.text));
            QVERIFY(c.EditAntVol->text().isEmpty());  // not the S9+5 entry's result
        }
    }

    void frequencyZeroIsRefusedAndAddsNothing() {
        WindowFixture f;
        MainControls& c = f.c();
        c.CBFreqMode->setChecked(true);
        c.EditFrequency->setText(QStringLiteral("0"));
        c.ButEnter->click();
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Warnung"));
        QVERIFY(f.window->document().measList().empty());
        QCOMPARE(c.EditFrequency->text(), QStringLiteral("0"));
        QVERIFY(c.EditAntdBm->text().isEmpty());
    }

    void locatorCommandAsksTwice() {
        WindowFixture f;
        QAction* command = f.c().actions.enterLocator;
        QVERIFY(command->isEnabled());
        QSignalSpy redraws(&f.window->document(), &Document::pictureReplaced);

        command->trigger();  // first dialog cancelled
        QCOMPARE(f.dialogs.inputs.size(), 1u);
        QCOMPARE(f.dialogs.inputs[0].caption, QStringLiteral("QTH-Locator"));
        QCOMPARE(f.dialogs.inputs[0].prompt,
                 QStringLiteral("Please enter your QTH-Locator (i.e. JO40CQ):"));
        QCOMPARE(f.dialogs.inputs[0].initialText, QStringLiteral("JO40CQ"));
        QCOMPARE(f.state().Locator, std::string("NoLoc."));

        f.dialogs.inputAnswers = {QStringLiteral("JN58TD"), std::nullopt};
        command->trigger();  // second dialog cancelled: only the locator changes
        QCOMPARE(f.state().Locator, std::string("JN58TD"));
        QCOMPARE(f.state().MeasDateTime, std::string("NoDateTime"));
        QCOMPARE(redraws.count(), 0);
        const ShownInput& second = f.dialogs.inputs.back();
        QCOMPARE(second.caption, QStringLiteral("Measurement Date and Time"));
        QCOMPARE(second.prompt,
                 QStringLiteral("Please enter Date and Time (Format: YYYY-MM-DD HH:MM) eingeben:"));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d$"))
                    .match(second.initialText)
                    .hasMatch());
        QCOMPARE(f.dialogs.inputs[1].initialText, QStringLiteral("JO40CQ"));  // not the locator

        f.dialogs.inputAnswers = {QStringLiteral("JO40CQ"), QStringLiteral("yesterday")};
        command->trigger();
        QCOMPARE(f.state().Locator, std::string("JO40CQ"));
        QCOMPARE(f.state().MeasDateTime, std::string("yesterday"));
        QCOMPARE(redraws.count(), 1);
    }

    // Field strength clears the gain; leaving it puts back the gain from before, which the
    // next entry needs.
    void gainComesBackAfterFieldStrength() {
        WindowFixture f;
        f.c().EditGain->setText(Num("3.5"));
        ChooseMethod(f, 3);
        f.c().EditFieldStrength->setText(QStringLiteral("20"));
        f.c().ButEnter->click();
        ChooseMethod(f, 0);
        QCOMPARE(f.c().EditGain->text(), Num("3.5"));
        f.c().ButEnter->click();
        QCOMPARE(f.dialogs.messages.size(), 0u);
        QCOMPARE(f.window->document().measList().size(), 2u);
    }
};

FW_WINDOW_TEST(EntryTest);

}  // namespace fw::testing

#include "entry_qtest.moc"
