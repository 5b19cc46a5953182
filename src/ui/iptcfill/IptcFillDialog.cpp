#include "ui/iptcfill/IptcFillDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/bytes/Error.h"
#include "core/iptc/CzechIptcTable.h"
#include "core/iptc/IptcTagTable.h"
#include "ui/details/IptcFormText.h"
#include "ui/prompts/FailureText.h"
#include "ui/prompts/Prompts.h"

namespace {

// The items that are the same for a whole set of photos, in form order.
constexpr const char* kFillItems[] = {"ByLine", "Copyright", "Contact", "City", "SubLocation", "State",
                                      "LocationName", "LocationCode", "Source", "ImageCredit", "Keywords"};

lumatrim::TagEntry ItemOf(const char* name) { return lumatrim::IptcItemFromRow(lumatrim::TableIndexOfName(name)); }

// After "z" and "do" the noun is genitive: 1 fotografie, 2 and more fotografií.
QString PhotosWord(int count) { return count == 1 ? QStringLiteral("fotografie") : QStringLiteral("fotografií"); }

}  // namespace

IptcFillDialog::IptcFillDialog(const QStringList& paths, QWidget* parent) : QDialog(parent), paths_(paths) {
  setObjectName(QStringLiteral("IptcFillDialog"));
  setWindowTitle(QStringLiteral("Doplnit IPTC"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(QStringLiteral("Vyplněné položky se zapíší do všech %1 %2 v zásobníku; prázdné zůstanou, "
                                          "jak jsou. Klíčová slova se přidají k těm, která fotografie už má.")
                               .arg(paths.size())
                               .arg(PhotosWord(static_cast<int>(paths.size()))),
                           this);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  auto* form = new QFormLayout;
  for (const char* name : kFillItems) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("fill_%1").arg(QLatin1String(name)));
    QString label = QString::fromStdString(lumatrim::CzechIptcLabel(ItemOf(name)));
    if (lumatrim::IsRepeatableDataset(2, ItemOf(name).Tag)) {
      label += QStringLiteral(" (přidat)");
      field->setPlaceholderText(QStringLiteral("oddělená čárkou nebo středníkem"));
    }
    form->addRow(label + QLatin1Char(':'), field);
    fields_.emplace_back(name, field);
    connect(field, &QLineEdit::textChanged, this, &IptcFillDialog::UpdateNote);
  }
  layout->addLayout(form);
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("limitNote"));
  note_->setWordWrap(true);
  note_->setStyleSheet(QStringLiteral("color: #a00000"));
  layout->addWidget(note_);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("fillProgress"));
  progress_->setRange(0, static_cast<int>(paths.size()));
  progress_->setValue(0);
  layout->addWidget(progress_);
  auto* buttons = new QDialogButtonBox(this);
  fillButton_ = buttons->addButton(QStringLiteral("Doplnit"), QDialogButtonBox::AcceptRole);
  fillButton_->setObjectName(QStringLiteral("fillButton"));
  buttons->addButton(QStringLiteral("Zavřít"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(fillButton_, &QPushButton::clicked, this, &IptcFillDialog::FillClicked);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(420, sizeHint().height());
}

QLineEdit* IptcFillDialog::Field(const char* name) const {
  for (const auto& [key, field] : fields_)
    if (QLatin1String(key) == QLatin1String(name)) return field;
  return nullptr;
}

std::vector<lumatrim::IptcFillItem> IptcFillDialog::ChosenItems() const {
  std::vector<lumatrim::IptcFillItem> items;
  for (const auto& [name, field] : fields_) {
    const QString text = field->text().trimmed();
    if (text.isEmpty()) continue;
    lumatrim::IptcFillItem item{name, {}};
    for (const QString& value : iptcform::Values(ItemOf(name), text)) item.Values.push_back(value.toStdString());
    if (!item.Values.empty()) items.push_back(std::move(item));
  }
  return items;
}

void IptcFillDialog::UpdateNote() {
  QStringList notes;
  for (const auto& [name, field] : fields_) {
    const QString note = iptcform::LimitNote(ItemOf(name), field->text());
    if (!note.isEmpty()) notes << QString::fromStdString(lumatrim::CzechIptcLabel(ItemOf(name))) + QStringLiteral(": ") + note;
  }
  note_->setText(notes.join(QLatin1Char('\n')));
}

void IptcFillDialog::FillClicked() {
  const std::vector<lumatrim::IptcFillItem> items = ChosenItems();
  if (items.empty()) {
    Prompts::Message(this, QStringLiteral("Vyplňte aspoň jednu položku."));
    return;
  }
  fillButton_->setEnabled(false);
  QStringList failures;
  int written = 0;
  progress_->setValue(0);
  for (const QString& path : paths_) {
    try {
      lumatrim::FillIptc(QFile::encodeName(path).toStdString(), items);
      ++written;
    } catch (const lumatrim::LumatrimError& error) {
      failures << QFileInfo(path).fileName() + QStringLiteral(": ") + failuretext::Sentence(error.Kind(), failuretext::Context::BatchPhoto);
    } catch (const std::exception& error) {
      failures << QFileInfo(path).fileName() + QStringLiteral(": ") + QString::fromLocal8Bit(error.what());
    }
    progress_->setValue(progress_->value() + 1);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);  // the bar moves
  }
  fillButton_->setEnabled(true);
  QString summary = QStringLiteral("IPTC doplněno do %1 z %2 %3.")
                        .arg(written)
                        .arg(paths_.size())
                        .arg(PhotosWord(static_cast<int>(paths_.size())));
  if (!failures.isEmpty()) summary += QStringLiteral("\nNepodařilo se:\n") + failures.join(QLatin1Char('\n'));
  if (failures.isEmpty()) Prompts::Message(this, summary);
  else Prompts::Error(this, summary);
}
