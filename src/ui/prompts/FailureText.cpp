#include "ui/prompts/FailureText.h"

#include <iterator>

using lumatrim::FailureKind;

namespace failuretext {
namespace {

struct KindSentences {
  FailureKind kind;
  const char* action;      // in a message box after a failed action
  const char* batchPhoto;  // for one photo of a batch; nullptr: as after an action
};

// Other is last: it is also the sentence of a kind missing from the table.
constexpr KindSentences kSentences[] = {
    {FailureKind::FileMissing,  "Soubor nebo složka neexistuje.",                                       "Soubor nebyl nalezen."},
    {FailureKind::NotJpeg,      "Soubor není fotografie JPEG.",                                         nullptr},
    {FailureKind::DamagedData,  "Data fotografie jsou poškozená nebo neúplná.",                         "Soubor není fotografie JPEG nebo je poškozený."},
    {FailureKind::NoSpace,      "Na disku není dost místa.",                                            nullptr},
    {FailureKind::NoPermission, "Do složky nebo souboru nemáte oprávnění zapisovat nebo z nich číst.", "Soubor nelze přečíst nebo zapsat (chybí oprávnění)."},
    {FailureKind::NameTooLong,  "Název souboru nebo cesta je příliš dlouhá.",                           nullptr},
    {FailureKind::TooLarge,     "Fotografie nebo její data jsou příliš velká.",                         nullptr},
    {FailureKind::ReadFailed,   "Soubor se nepodařilo přečíst.",                                        nullptr},
    {FailureKind::WriteFailed,  "Soubor se nepodařilo zapsat.",                                         "Výslednou fotografii se nepodařilo zapsat do cílové složky."},
    {FailureKind::OutOfMemory,  "Na zpracování fotografie nestačí paměť.",                              nullptr},
    {FailureKind::SizeLimitUnreachable, "Fotografie se nevejde do zadané velikosti ani při nejnižší kvalitě.", nullptr},
    {FailureKind::Other,        "Nastala neočekávaná chyba.",                                           "Fotografii se nepodařilo zpracovat."},
};

}  // namespace

QString Sentence(FailureKind kind, Context context) {
  const KindSentences* row = &kSentences[std::size(kSentences) - 1];
  for (const KindSentences& candidate : kSentences) {
    if (candidate.kind == kind) row = &candidate;
  }
  const char* text = context == Context::BatchPhoto && row->batchPhoto ? row->batchPhoto : row->action;
  return QString::fromUtf8(text);
}

QString Message(const QString& lead, const std::exception& error) {
  const auto* ours = dynamic_cast<const lumatrim::LumatrimError*>(&error);
  const QString sentence = Sentence(ours ? ours->Kind() : FailureKind::Other);
  const QString first = lead.isEmpty() ? sentence : lead + QLatin1Char(' ') + sentence;
  const QString detail = QString::fromStdString(error.what());
  return detail.isEmpty() ? first : first + QLatin1Char('\n') + detail;
}

}  // namespace failuretext
