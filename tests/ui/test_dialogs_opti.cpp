// The optimisation dialog: the 4:3 auto-fill, the state of "Optimalizovat" and
// switching the size modes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ui/optimal/FormOpti.h"

namespace {

class OptimisationDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog.show();
    QApplication::setActiveWindow(&dialog);  // typing needs the focus
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }
  // Replaces the edit's text by typing, as a user would.
  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
  }
  TFormOpti dialog{nullptr, [](const OptiBatchSettings&, const std::function<void(int)>&) {
                     ADD_FAILURE() << "the batch must not start";
                   }};
};

TEST_F(OptimisationDialog, TypingFillsTheOtherSideAt4To3AndDrivesTheButton) {
  TFormOpti& d = dialog;
  struct Case {
    QRadioButton* mode;
    QLineEdit* typed;
    const char* text;
    const char* sir;  // both sides afterwards
    const char* del;
    bool enabled;
  } cases[] = {
      {d.RadSirka, d.EditSir, "600", "600", "800", true},
      {d.RadSirka, d.EditSir, "1024", "1024", "1365", true},  // 1365.33
      {d.RadSirka, d.EditSir, "1", "1", "1", true},           // 1.33
      {d.RadSirka, d.EditSir, "0", "0", "0", false},
      {d.RadSirka, d.EditSir, "", "", "0", false},
      {d.RadSirka, d.EditSir, "-6a0,5", "605", "807", true},  // digits only; 806.67
      {d.RadDelka, d.EditDel, "800", "600", "800", true},
      {d.RadDelka, d.EditDel, "6", "4", "6", true},     // 4.5 to even
      {d.RadDelka, d.EditDel, "10", "8", "10", true},   // 7.5 to even
      {d.RadDelka, d.EditDel, "14", "10", "14", true},  // 10.5 to even
      {d.RadDelka, d.EditDel, "1", "1", "1", true},     // 0.75
      // Free size: nothing fills itself, both sides are needed.
      {d.RadVlast, d.EditSir, "800", "800", "0", false},
      {nullptr, d.EditDel, "600", "800", "600", true},
      {nullptr, d.EditDel, "", "800", "", false},
      {nullptr, d.EditDel, "000", "800", "000", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed->objectName().toStdString() + " typing '" + c.text + "'");
    if (c.mode != nullptr) c.mode->click();
    Type(c.typed, QString::fromLatin1(c.text));
    EXPECT_EQ(d.EditSir->text(), QString::fromLatin1(c.sir));
    EXPECT_EQ(d.EditDel->text(), QString::fromLatin1(c.del));
    EXPECT_EQ(d.ButProces->isEnabled(), c.enabled);
  }
  d.RadSirka->click();
  d.RadSirka->setFocus();
  d.EditSir->setText(QStringLiteral("300"));
  EXPECT_EQ(d.EditDel->text(), QStringLiteral("0")) << "text set by the program fills nothing";
}

TEST_F(OptimisationDialog, ModeSwitchingFollowsTheTable) {
  TFormOpti& d = dialog;
  EXPECT_TRUE(d.RadSirka->isChecked());
  EXPECT_FALSE(d.ButProces->isEnabled());
  EXPECT_FALSE(d.Gauge->isVisible());
  struct Row {
    QRadioButton* mode;
    bool sir, del, proces;
  } rows[] = {{d.RadPuvod, false, false, true}, {d.RadSirka, true, false, false}, {d.RadVlast, true, true, false},
              {d.RadDelka, false, true, false}, {d.RadPuvod, false, false, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode->text().toStdString());
    if (d.EditSir->isEnabled()) Type(d.EditSir, QStringLiteral("640"));
    if (d.EditDel->isEnabled()) Type(d.EditDel, QStringLiteral("480"));
    row.mode->click();
    EXPECT_EQ(d.EditSir->isEnabled(), row.sir);
    EXPECT_EQ(d.EditDel->isEnabled(), row.del);
    EXPECT_EQ(d.EditSir->text(), QStringLiteral("0"));
    EXPECT_EQ(d.EditDel->text(), QStringLiteral("0"));
    EXPECT_EQ(d.ButProces->isEnabled(), row.proces);
  }
}

}  // namespace
