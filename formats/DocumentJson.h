#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <QByteArray>
#include <QString>

class QIODevice;
struct DocumentFileContent;

// The document as one line of JSON for scripts: selection, grip state and every shape with its
// first pointCount points. Keys come in a fixed order; colours are the COLORREF integers.
std::string DocumentJson(const DocumentFileContent& doc);
// The same line, with its end, handed to `write` a block at a time; false as soon as `write` is.
bool WriteDocumentJson(const DocumentFileContent& doc, const std::function<bool(const std::string&)>& write);

// Reads that JSON back into a fresh `doc`. Every key may be left out and then takes the value a
// new drawing or record has (selected -1, hitMode 0, hitPart -1; type 0, centre (0, 0), colours
// 0, pen width 1, pen style 0, brush style -1, no points), so a script needs only "type" and
// "points". What is read goes through the same checks as a document file. Returns an empty
// string, or why the text is refused (with the line and column of a syntax error or of a key that
// appears twice in one object), leaving `doc` as it was.
[[nodiscard]] QString ReadDocumentJson(const QByteArray& text, DocumentFileContent& doc);
// The same, read from `source` a block at a time, as large as a file can be: the shapes are refused
// once they would need more memory than the system can give, or than `memoryLimit`.
[[nodiscard]] QString ReadDocumentJson(QIODevice& source, DocumentFileContent& doc,
                                       std::optional<uint64_t> memoryLimit = {});
// Whether a file's first bytes look like JSON rather than a document file.
bool LooksLikeJson(const QByteArray& start);
