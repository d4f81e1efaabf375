#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace korvex::xls {

class Workbook;

// Writes a workbook as an Excel 97 (BIFF8) file. Failures come back as false
// (or an empty result) with a reason in `error`; nothing is thrown.

// The "Workbook" stream alone: the globals, then each sheet.
QByteArray workbookStream(const Workbook& book, QString* error = nullptr);
// The whole .xls file: the stream inside its compound-file container.
QByteArray xlsFile(const Workbook& book, QString* error = nullptr);
// Writes the file to an open device.
bool writeXls(const Workbook& book, QIODevice& device, QString* error = nullptr);
// Writes the file at `path`, replacing a file that is there. The file is
// written under a temporary name and takes the place of the old one only
// when complete: a write that fails part way (a full disk) or a crash leaves
// the old file whole and no half workbook behind.
bool saveXls(const Workbook& book, const QString& path, QString* error = nullptr);

// The width Excel stores for a column of `characters` digit widths of the
// default font (in 1/256 of a character, cell padding included). Excel snaps
// a width to whole pixels: 4.88 characters of an 8-pixel digit is 39 pixels
// of text plus 5 of padding.
int storedColumnWidth(double characters, int digitWidthPixels);

// Height Excel gives a row whose largest font is `fontTwips` tall, in twips:
// about 1.375 times the font's size, in whole pixels at 96 dpi.
int rowHeightForFont(int fontTwips);

}  // namespace korvex::xls
