#pragma once
#include <QString>
#include <exception>

#include "core/bytes/Error.h"

// The one place where a failure's kind becomes a Czech sentence. The core's
// technical detail (English, naming the file) goes on the second line, so a
// user reads the cause in Czech and a report still carries the exact reason.
namespace failuretext {

QString Sentence(lumatrim::FailureKind kind);

// "<lead> <sentence>\n<detail>"; lead may be empty ("Optimalizace se nezdařila.").
QString Message(const QString& lead, const std::exception& error);

}  // namespace failuretext
