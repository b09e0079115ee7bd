#pragma once

#include <string>

struct DocumentFileContent;

// The document as one line of JSON for scripts: selection, grip state and every shape with its
// first pointCount points. Keys come in a fixed order; colours are the COLORREF integers.
std::string DocumentJson(const DocumentFileContent& doc);
