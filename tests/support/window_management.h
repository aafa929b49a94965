#pragma once

// No window closing and every child window's flags cleared: the state the
// window-management tests start from and leave behind.
void ResetWindowManagement();
