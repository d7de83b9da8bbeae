#pragma once

#include "sheets/contact_sheet.h"

namespace pagelark {

class OutputFile;

// Draws labels with Qt's painter in the application's font, at the size that
// fits the label row, into a small image of its own. Needs a QGuiApplication.
LabelDrawer qtLabelDrawer();

// Writes the sheet into the output's temporary file as an 8-bit indexed PNG
// with the sheet's colour table, straight from its pixels: neither the
// pixels nor the encoded file are ever held a second time. The output is
// left to be committed.
void writeSheetPng(const IndexedSheet& sheet, OutputFile& out);

}  // namespace pagelark
