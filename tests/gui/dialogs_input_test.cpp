#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/dialogs_screenshot.h"
#include "script/input_dialog.h"

namespace brennix {
namespace {

InputRow Row(InputKind kind, const QStringList& arguments) {
    InputRow row{kind, {}};
    for (const QString& argument : arguments)
        row.arguments.push_back(argument.toLatin1().toStdString());
    return row;
}

}  // namespace

class InputDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void resultOfOneRow_data();
    void resultOfOneRow();
    void rowsStackDownWithOkBelow();
    void emptyDialogOffersOnlyOk();
    void focusStartsOnTheFirstRow();
    void closingWithoutOkReadsNothing();
    void screenshotWithThreeRows();
};

// The user's action on the row's control: "type:<text>", "choose:<index>", "toggle" or "".
void InputDialogTest::resultOfOneRow_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected");

    const int input = static_cast<int>(InputKind::kInput);
    const int select = static_cast<int>(InputKind::kSelect);
    const int check = static_cast<int>(InputKind::kCheck);
    QTest::newRow("input keeps its default") << input << QStringList{"Cell begin(m)", "1.5"} << ""
                                             << "1.5";
    QTest::newRow("typing replaces the selected default")
        << input << QStringList{"Cell begin(m)", "1.5"} << "type:2.25"
        << "2.25";
    QTest::newRow("input without default starts empty") << input << QStringList{"Cells"} << ""
                                                        << "";
    QTest::newRow("8-bit text survives the round trip")
        << input << QStringList{"Temp", QString::fromLatin1("20\xB0")} << ""
        << QString::fromLatin1("20\xB0");
    QTest::newRow("select offers the first option")
        << select << QStringList{"Data format", "LONG", "SHORT"} << ""
        << "LONG";
    QTest::newRow("select keeps the given order")
        << select << QStringList{"Coord system", "BEAM", "XYZ", "ENU"} << "choose:2"
        << "ENU";
    QTest::newRow("select with only a label offers one empty entry")
        << select << QStringList{"Mode"} << ""
        << "";
    QTest::newRow("check matches the current value in any case")
        << check << QStringList{"Auto sleep", "on", "ON", "OFF"} << ""
        << "ON";
    QTest::newRow("clearing the box gives the clear value")
        << check << QStringList{"Auto sleep", "ON", "ON", "OFF"} << "toggle"
        << "OFF";
    QTest::newRow("another current value starts clear")
        << check << QStringList{"Enable profiling", "NO", "YES", "NO"} << ""
        << "NO";
    QTest::newRow("checking the box gives the checked value")
        << check << QStringList{"Enable profiling", "NO", "YES", "NO"} << "toggle"
        << "YES";
}

void InputDialogTest::resultOfOneRow() {
    QFETCH(int, kind);
    QFETCH(QStringList, arguments);
    QFETCH(QString, action);
    QFETCH(QString, expected);

    CDlgInput dialog({Row(static_cast<InputKind>(kind), arguments)});
    QWidget* control = dialog.RowControl(0);
    if (action.startsWith("type:"))
        QTest::keyClicks(control, action.mid(5));
    else if (action.startsWith("choose:"))
        qobject_cast<QComboBox*>(control)->setCurrentIndex(action.mid(7).toInt());
    else if (action == "toggle")
        qobject_cast<QCheckBox*>(control)->click();
    dialog.OkButton()->click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Results().size(), size_t(1));
    QCOMPARE(QByteArray::fromStdString(dialog.Results()[0]), expected.toLatin1());
}

void InputDialogTest::rowsStackDownWithOkBelow() {
    CDlgInput dialog({Row(InputKind::kInput, {"Cell begin(m)", "1"}),
                      Row(InputKind::kSelect, {"Data format", "LONG", "SHORT"}),
                      Row(InputKind::kCheck, {"Auto sleep", "ON", "ON", "OFF"})});
    const int h = dialog.RowHeight();

    for (size_t row = 0; row < 3; ++row) {
        const QRect control = dialog.RowControl(row)->geometry();
        QCOMPARE(control.top(), CDlgInput::kFirstRowTop + int(row) * (h + CDlgInput::kRowGap));
        QVERIFY(control.height() <= h);
        QVERIFY(control.right() < dialog.width());
    }
    const int lastTop = CDlgInput::kFirstRowTop + 2 * (h + CDlgInput::kRowGap);
    const QRect ok = dialog.OkButton()->geometry();
    QCOMPARE(ok.top(), lastTop + h + CDlgInput::kOkGap);
    QVERIFY(ok.bottom() < dialog.height());
    QVERIFY(ok.left() > 0 && ok.right() < dialog.width());

    const auto* list = qobject_cast<QComboBox*>(dialog.RowControl(1));
    QCOMPARE(list->maxVisibleItems(), CDlgInput::kVisibleListItems);
    // The check row's label reads left of its box, and a click on it toggles the box.
    auto* check = qobject_cast<QCheckBox*>(dialog.RowControl(2));
    QCOMPARE(check->x(), dialog.RowControl(0)->x());
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    QCOMPARE(labels.size(), 3);
    QVERIFY(labels[2]->geometry().right() < check->x());
    QTest::mouseClick(labels[2], Qt::LeftButton);
    QVERIFY(!check->isChecked());
}

void InputDialogTest::emptyDialogOffersOnlyOk() {
    CDlgInput dialog({});
    QCOMPARE(dialog.OkButton()->y(), CDlgInput::kOkTopWithoutRows);
    dialog.OkButton()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.Results().empty());
}

void InputDialogTest::focusStartsOnTheFirstRow() {
    CDlgInput dialog({Row(InputKind::kInput, {"Cells", "10"}), Row(InputKind::kInput, {"x", "1"})});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.focusWidget(), dialog.RowControl(0));
    QCOMPARE(qobject_cast<QLineEdit*>(dialog.RowControl(0))->selectedText(), QString("10"));
}

void InputDialogTest::closingWithoutOkReadsNothing() {
    CDlgInput dialog({Row(InputKind::kInput, {"Cells", "10"})});
    dialog.reject();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(dialog.Results().empty());
}

void InputDialogTest::screenshotWithThreeRows() {
    CDlgInput dialog({Row(InputKind::kInput, {"Cell begin(m)", "1.50"}),
                      Row(InputKind::kSelect, {"Coord system", "BEAM", "XYZ", "ENU"}),
                      Row(InputKind::kCheck, {"Enable profiling", "YES", "YES", "NO"})});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(test::SaveScreenshot(dialog, "dialogs-input"));
}

}  // namespace brennix

QTEST_MAIN(brennix::InputDialogTest)
#include "dialogs_input_test.moc"
