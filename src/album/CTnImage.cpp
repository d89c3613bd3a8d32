#include "album/CTnImage.h"

IMPLEMENT_DYNAMIC(CTnImage, CObject)
