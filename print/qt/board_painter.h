#pragma once

#include <QByteArray>
#include <QPageSize>

#include "print/page_plan.h"

namespace planora::print::qt {

// Every page of the plan on paper of that size (turned for landscape), with margins of a
// quarter inch: the planned lines top to bottom, the runs of a line side by side. A page
// whose lines do not fit the paper goes on to a new sheet, as a printer does. Returns the
// PDF; throws planora::Error when the PDF writer cannot start.
QByteArray renderPdf(const PagePlan& plan, const QPageSize& paper);

// The face drawn for a family the board names: fonts-liberation's metric-compatible face for
// "Courier New", "Times New Roman" and "Arial", the family itself otherwise.
QString standInFace(const QString& family);

}  // namespace planora::print::qt
