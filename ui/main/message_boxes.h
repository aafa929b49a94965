#pragma once

// Shows the program's messages and Yes/No questions in message boxes.
void InstallMessageBoxes();
