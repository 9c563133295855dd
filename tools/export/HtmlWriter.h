#pragma once

#include <string>

#include "ExportScene.h"

// One self-contained HTML file: the scene's .glb (base64), the page's
// settings (configJson) and the bundled viewer script, nothing to fetch.
std::string HtmlBytes(const ExportScene& scene, const std::string& configJson, const std::string& title);
WriteResult WriteHtml(const ExportScene& scene, const std::string& configJson, const std::string& title,
                      const std::string& path);

std::string Base64(const std::string& bytes);
