#pragma once

#include <array>
#include <string>

class CShape;

// The nine lines the Properties dialog shows for a shape, in the order of its controls: object
// number, object type, pen colour, pen style, pen width, brush colour, brush style, centre and the
// point list. Tabs separate labels from values; codes outside the known ones read "Unknow".
std::array<std::string, 9> PropertiesTexts(const CShape& shape, int objectNumber);
