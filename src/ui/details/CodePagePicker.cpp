#include "ui/details/CodePagePicker.h"

#include <QSettings>

#include "core/bytes/TextEncoding.h"

CodePagePicker::CodePagePicker(QWidget* parent) : QComboBox(parent) {
  setObjectName(QStringLiteral("codePagePicker"));
  setToolTip(QStringLiteral("Kódová stránka starších textů, které nejsou v UTF-8"));
  for (const lumatrim::CodePage page : lumatrim::kCodePages) {
    addItem(QString::fromLatin1(lumatrim::CodePageName(page)), static_cast<int>(page));
    if (page == lumatrim::LegacyCodePage()) setCurrentIndex(count() - 1);
  }
  connect(this, &QComboBox::activated, this, &CodePagePicker::Chosen);
}

void CodePagePicker::Chosen(int index) {
  const auto page = static_cast<lumatrim::CodePage>(itemData(index).toInt());
  if (page == lumatrim::LegacyCodePage()) return;
  lumatrim::SetLegacyCodePage(page);
  // The same settings file the program reads at start.
  QSettings(QStringLiteral("lumatrim"), QStringLiteral("lumatrim"))
      .setValue(QLatin1String(kSettingsKey), QString::fromLatin1(lumatrim::CodePageName(page)));
  emit CodePageChanged();
}
