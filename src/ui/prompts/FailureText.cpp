#include "ui/prompts/FailureText.h"

using lumatrim::FailureKind;

namespace failuretext {

QString Sentence(FailureKind kind) {
  switch (kind) {
    case FailureKind::FileMissing:
      return QStringLiteral("Soubor nebo složka neexistuje.");
    case FailureKind::NotJpeg:
      return QStringLiteral("Soubor není fotografie JPEG.");
    case FailureKind::DamagedData:
      return QStringLiteral("Data fotografie jsou poškozená nebo neúplná.");
    case FailureKind::NoSpace:
      return QStringLiteral("Na disku není dost místa.");
    case FailureKind::NoPermission:
      return QStringLiteral("Do složky nebo souboru nemáte oprávnění zapisovat nebo z nich číst.");
    case FailureKind::NameTooLong:
      return QStringLiteral("Název souboru nebo cesta je příliš dlouhá.");
    case FailureKind::TooLarge:
      return QStringLiteral("Fotografie nebo její data jsou příliš velká.");
    case FailureKind::ReadFailed:
      return QStringLiteral("Soubor se nepodařilo přečíst.");
    case FailureKind::WriteFailed:
      return QStringLiteral("Soubor se nepodařilo zapsat.");
    case FailureKind::Other:
      break;
  }
  return QStringLiteral("Nastala neočekávaná chyba.");
}

QString Message(const QString& lead, const std::exception& error) {
  const auto* ours = dynamic_cast<const lumatrim::LumatrimError*>(&error);
  const QString sentence = Sentence(ours ? ours->Kind() : FailureKind::Other);
  const QString first = lead.isEmpty() ? sentence : lead + QLatin1Char(' ') + sentence;
  const QString detail = QString::fromStdString(error.what());
  return detail.isEmpty() ? first : first + QLatin1Char('\n') + detail;
}

}  // namespace failuretext
