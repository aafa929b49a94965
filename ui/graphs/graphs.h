#pragma once

// Makes the main window's "Вид" items open the graphs windows of both
// channels.
void RegisterGraphWindows();
