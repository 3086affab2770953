#pragma once
// The drawing options of cadhost: --open before the script, --save and
// --export-svg after it. They belong to the drawing database; each returns
// false with the reason in `error` when it cannot do its work.

#include <string>

bool openDrawing(const std::string& path, std::string& error);
bool saveDrawing(const std::string& path, std::string& error);
// `scale`: the plot scale 1:N of the SVG, 0 for none.
bool exportSvg(const std::string& path, double scale, std::string& error);
