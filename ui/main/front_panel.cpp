#include "ui/main/front_panel.h"
