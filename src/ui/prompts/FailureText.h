#pragma once
#include <QString>
#include <exception>

#include "core/bytes/Error.h"

// The one place where a failure's kind becomes a Czech sentence. The core's
// technical detail (English, naming the file) goes on the second line, so a
// user reads the cause in Czech and a report still carries the exact reason.
namespace failuretext {

// Where the sentence is read. A batch's summary speaks of one photo of a
// list, so some kinds read differently there than in a box after an action.
enum class Context {
  Action,      // a message box after something the user asked for failed
  BatchPhoto,  // one photo's line in the summary at the end of a batch
};

QString Sentence(lumatrim::FailureKind kind, Context context = Context::Action);

// "<lead> <sentence>\n<detail>"; lead may be empty ("Optimalizace se nezdařila.").
QString Message(const QString& lead, const std::exception& error);

}  // namespace failuretext
