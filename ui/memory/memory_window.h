#pragma once

// Makes the "Память" item of the main window open the memory viewer.
void RegisterMemoryWindow();
