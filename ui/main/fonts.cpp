#include "ui/main/fonts.h"
