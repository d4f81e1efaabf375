#pragma once

#include <QByteArray>

namespace korvex::xls {

// Wraps a workbook stream in the compound-file container (version 3, 512-byte
// sectors) that Excel 97 files are: a header, the stream named "Workbook",
// the sector allocation table and one directory sector. Streams shorter than
// 4096 bytes would have to live in the mini stream; the stream is padded with
// zeros to that size instead, which readers ignore after the last EOF record.
QByteArray compoundFile(const QByteArray& workbookStream);

}  // namespace korvex::xls
