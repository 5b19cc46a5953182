#pragma once
#include <QString>
#include <QStringList>

#include "core/optimize/BatchReport.h"

// The one message shown when a batch ends: how many photos were written,
// each failed photo with its reason, the photos that got another name, and
// whether the batch was stopped. A batch that wrote everything under its
// plain names gets "Optimalizace byla úspěšně dokončena." alone.
QString BatchSummary(const lumatrim::BatchReport& report);

// The sources the tray keeps after the batch: those not written.
QStringList PhotosLeftInTray(const lumatrim::BatchReport& report);
