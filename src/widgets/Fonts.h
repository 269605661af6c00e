#pragma once
// The Chinese faces the program names (宋体, 黑体, 楷体, 隶书) mapped onto installed ones.

void InstallFontSubstitutions();
