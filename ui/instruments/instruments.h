#pragma once

// Lets the main window open and close the two instruments windows.
void RegisterInstrumentWindows();
