#include "ui/main/artwork.h"
