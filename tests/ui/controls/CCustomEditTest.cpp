#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CNoContextEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

namespace {

class BeepCountingEdit : public CCustomEdit {
public:
    explicit BeepCountingEdit(char decimal) : CCustomEdit(nullptr, decimal) {}
    int beeps = 0;

protected:
    void Beep() override { ++beeps; }
};

struct TypingCase {
    int mode;
    const char* typed;    // '.' stands for the decimal character
    const char* expected; // likewise
    int beeps;
};

// Every mode's filter and whole-text rule, typed key by key into an empty edit.
const std::vector<TypingCase> kTypingCases = {
    {0, "1234", "1234", 0},
    {0, "12345", "1234", 1},   // a fifth digit
    {0, "1a.2", "12", 2},
    {1, "30s", "30s", 0},
    {1, "1.5m", "1.5m", 0},
    {1, "3s0", "3s", 1},       // "3s0": the unit must be last, undone
    {1, "ms", "m", 1},         // one unit only
    {1, "1..5", "1.5", 1},
    {2, "1.25", "1.25", 0},
    {2, "1.234", "1.23", 1},
    {2, "1.2.", "1.2", 1},
    {3, "12", "1", 1},
    {4, "-1.5", "-1.5", 0},
    {4, "+0.5", "+0.5", 0},
    {4, "--1", "-1", 1},
    {4, "1..5", "1.5", 1},
    {4, "05", "0", 1},         // a leading zero needs the decimal character next
    {4, "-05", "-0", 1},
    {4, "1.25", "1.2", 1},     // one decimal place
    {4, "1-", "1", 1},         // a sign only in front
    {4, "12345", "12345", 0},
    {4, "123456", "12345", 1}, // a sixth character
    {10, "-0.5", "-0.5", 0},
    {10, "05", "0", 1},
    {7, "0.125", "0.125", 0},
    {7, "0.1255", "0.125", 1},
    {7, "123456789", "123456789", 0},
    {7, "1234567890", "123456789", 1},
    {7, "01", "0", 1},
    {8, "12345678", "12345678", 0},
    {8, "123456789", "12345678", 1},
    {8, "0.1234", "0.123", 1},
    {9, "Ab 1-x.y", "Ab 1-x.y", 0},
    {9, "a_b+", "ab", 2},
    {99, "a!?.", "a!?.", 0},
    {-1, "1a", "", 2},
    {5, "1", "", 1},
    {6, "-", "", 1},
};

std::string WithDecimal(const char* text, char decimal)
{
    std::string result(text);
    for (char& c : result) {
        if (c == '.') {
            c = decimal;
        }
    }
    return result;
}

class CCustomEditTyping : public ::testing::TestWithParam<char> {};

TEST_P(CCustomEditTyping, EveryModeFiltersAndChecksAsTyped)
{
    const char decimal = GetParam();
    for (const TypingCase& c : kTypingCases) {
        BeepCountingEdit edit(decimal);
        edit.inputMode = c.mode;
        const std::string typed = WithDecimal(c.typed, decimal);
        QTest::keyClicks(&edit, QString::fromStdString(typed));
        EXPECT_EQ(edit.text().toStdString(), WithDecimal(c.expected, decimal))
            << "mode " << c.mode << " typing \"" << typed << "\"";
        EXPECT_EQ(edit.beeps, c.beeps) << "mode " << c.mode << " typing \"" << typed << "\"";
        EXPECT_EQ(edit.lastValidText, edit.text().toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(PointAndComma, CCustomEditTyping, ::testing::Values('.', ','));

TEST(CCustomEdit, TheOtherSeparatorIsRefused)
{
    struct Case {
        char decimal;
        const char* typed;
        const char* expected;
    };
    for (const Case& c : {Case{',', "1.5", "15"}, Case{'.', "1,5", "15"}}) {
        for (int mode : {1, 2, 4, 7, 8}) {
            BeepCountingEdit edit(c.decimal);
            edit.inputMode = mode;
            QTest::keyClicks(&edit, QString::fromLatin1(c.typed));
            EXPECT_EQ(edit.text().toStdString(), c.expected) << "mode " << mode << " decimal " << c.decimal;
            EXPECT_EQ(edit.beeps, 1);
        }
    }
}

TEST(CCustomEdit, ADigitReplacesTheSelectionEvenAtTheLengthLimit)
{
    BeepCountingEdit edit('.');
    edit.inputMode = 0;
    QTest::keyClicks(&edit, QStringLiteral("1234"));
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("7"));
    EXPECT_EQ(edit.text(), QStringLiteral("7"));
    EXPECT_EQ(edit.beeps, 0);

    // Mode 3 holds one digit: selecting it lets the next one in.
    edit.inputMode = 3;
    edit.setText(QString());
    QTest::keyClicks(&edit, QStringLiteral("4"));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_9);
    EXPECT_EQ(edit.text(), QStringLiteral("9"));
}

TEST(CCustomEdit, BackspaceIsAlwaysPassedOn)
{
    BeepCountingEdit edit('.');
    edit.inputMode = 99;
    edit.setText(QStringLiteral("5"));
    edit.inputMode = -1; // a mode that refuses every character
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(edit.beeps, 0);
}

TEST(CCustomEdit, ModeElevenStaysUnderTheEditsLimit)
{
    BeepCountingEdit edit('.');
    edit.inputMode = 11;
    edit.setMaxLength(3);
    QTest::keyClicks(&edit, QStringLiteral("12a3"));
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
    EXPECT_EQ(edit.beeps, 1);
}

TEST(CCustomEdit, ControlCharactersAreRefusedButInModeNinetyNine)
{
    QApplication::clipboard()->setText(QStringLiteral("99"));
    BeepCountingEdit edit('.');
    edit.inputMode = 0;
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(edit.beeps, 1);

    edit.inputMode = 99;
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("99"));
    EXPECT_EQ(edit.beeps, 1);
}

TEST(CCustomEdit, PastedTextMeetsOnlyTheWholeTextRule)
{
    BeepCountingEdit digits('.');
    digits.inputMode = 0; // no whole-text rule: pasted letters stay
    QApplication::clipboard()->setText(QStringLiteral("ab"));
    QTest::keyClick(&digits, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(digits.text(), QStringLiteral("ab"));
    EXPECT_EQ(digits.beeps, 0);

    BeepCountingEdit signedValue('.');
    signedValue.inputMode = 4;
    QTest::keyClicks(&signedValue, QStringLiteral("1"));
    signedValue.selectAll();
    QApplication::clipboard()->setText(QStringLiteral("05"));
    QTest::keyClick(&signedValue, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(signedValue.text(), QStringLiteral("1"));
    EXPECT_EQ(signedValue.cursorPosition(), 1);
    EXPECT_EQ(signedValue.beeps, 1);
}

// The meter's name field shows ASCII only: letters, dashes and digits of other scripts are refused
// as typed (a key whose text is outside ASCII, as an input method sends it).
TEST(CCustomEdit, ModeNineRefusesEveryCharacterOutsideAscii)
{
    BeepCountingEdit name('.');
    name.inputMode = 9;
    for (const QString& typed : {QStringLiteral("A"), QString::fromUtf8("\xC3\xA9"), QString::fromUtf8("\xE6\x9D\xB1"),
                                 QString::fromUtf8("\xE2\x80\x93"), QString::fromUtf8("\xD9\xA3"), QStringLiteral("b")}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(&name, &press);
    }
    EXPECT_EQ(name.text(), QStringLiteral("Ab"));
    EXPECT_EQ(name.beeps, 4);
}

TEST(CCustomEdit, ModeNineUndoesPastedTextTheMetersNameFieldCannotShow)
{
    BeepCountingEdit name('.');
    name.inputMode = 9;
    QApplication::clipboard()->setText(QStringLiteral("ND 0.9 filter"));
    QTest::keyClick(&name, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(name.text(), QStringLiteral("ND 0.9 filter"));
    name.selectAll();
    QApplication::clipboard()->setText(QString::fromUtf8("\xE6\x9D\xB1\xE4\xBA\xAC"));
    QTest::keyClick(&name, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(name.text(), QStringLiteral("ND 0.9 filter"));
    EXPECT_EQ(name.beeps, 1);
}

TEST(CCustomEdit, ModeElevenUndoesPastedTextThatIsNotAllDigits)
{
    BeepCountingEdit port('.');
    port.inputMode = 11;
    port.setMaxLength(5);
    QTest::keyClicks(&port, QStringLiteral("80"));
    const struct {
        const char* pasted;
        const char* result;
        int beeps;
    } cases[] = {{"8o8", "80", 1}, {" 81", "80", 2}, {"8080", "8080", 2}};
    for (const auto& c : cases) {
        port.selectAll();
        QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        QTest::keyClick(&port, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(port.text(), QString::fromLatin1(c.result)) << c.pasted;
        EXPECT_EQ(port.beeps, c.beeps) << c.pasted;
    }
}

TEST(CCustomEdit, AStoredTextThatBreaksANewModeIsRestoredWithoutLooping)
{
    BeepCountingEdit edit('.');
    edit.inputMode = 0;
    QTest::keyClicks(&edit, QStringLiteral("05"));
    edit.inputMode = 4; // "05" breaks this mode's rule
    QTest::keyClicks(&edit, QStringLiteral("1"));
    EXPECT_EQ(edit.text(), QStringLiteral("05"));
    EXPECT_EQ(edit.beeps, 1);
}

TEST(CCustomEdit, TakesTheApplicationsDecimalCharacter)
{
    CCustomEdit::SetApplicationDecimalChar(',');
    CCustomEdit comma;
    EXPECT_EQ(comma.decimalChar, ',');
    CCustomEdit::SetApplicationDecimalChar('.');
    CCustomEdit point;
    EXPECT_EQ(point.decimalChar, '.');
    CCustomEdit chosen(nullptr, ',');
    EXPECT_EQ(chosen.decimalChar, ',');
}

TEST(CCustomEdit, InPlaceEditorKeepsItsRectangleUntilEnded)
{
    QWidget parent;
    parent.resize(300, 200);
    parent.show();
    CCustomEdit edit;
    edit.inputMode = 4;
    edit.EnableFixedRect(TRUE);
    edit.SubclassWithText(&parent, "-1.5", 10, 20, 80, 22);
    EXPECT_EQ(edit.parentWidget(), &parent);
    EXPECT_TRUE(edit.isVisible());
    EXPECT_EQ(edit.lastValidText, "-1.5");

    edit.move(100, 100);
    edit.resize(10, 10);
    EXPECT_EQ(edit.geometry(), QRect(10, 20, 80, 22));

    EXPECT_EQ(edit.EndEdit(), "-1.5");
    EXPECT_EQ(edit.parentWidget(), nullptr);
    EXPECT_FALSE(edit.isVisible());
    EXPECT_EQ(edit.fixedRect.cx, 0);

    // Without the flag the editor moves freely.
    edit.EnableFixedRect(FALSE);
    edit.SubclassWithText(&parent, "", 10, 20, 80, 22);
    edit.move(40, 50);
    EXPECT_EQ(edit.pos(), QPoint(40, 50));
    edit.EndEdit();
}

TEST(CCustomEdit, RightClickSelectsAllWithoutAMenu)
{
    CCustomEdit custom;
    custom.inputMode = 99;
    CNoContextEdit plain;
    for (QLineEdit* edit : std::vector<QLineEdit*>{&custom, &plain}) {
        edit->setText(QStringLiteral("abc"));
        edit->setCursorPosition(1);
        edit->show();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(edit, &event);
        EXPECT_TRUE(event.isAccepted());
        EXPECT_EQ(edit->selectedText(), QStringLiteral("abc"));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        edit->hide();
    }
}

} // namespace
