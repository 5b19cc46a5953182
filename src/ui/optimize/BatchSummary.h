#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>

#include "core/optimize/BatchReport.h"

// The one message shown when a batch ends: how many photos were written,
// each failed photo with its reason, the photos that got another name, and
// whether the batch was stopped. A batch that wrote everything under its
// plain names gets "Hotovo: 9 fotografií, 48,2 MB → 6,1 MB" (photos, their
// size before and the size of what was written), with the photos copied
// unchanged or skipped counted below it.
QString BatchSummary(const lumatrim::BatchReport& report);

// "640 kB", "48,2 MB" (decimal units, as file managers show them).
QString ByteSizeText(std::uint64_t bytes);

// The sources the tray keeps after the batch: those failed or not done, once each.
QStringList PhotosLeftInTray(const lumatrim::BatchReport& report);
