#include "storage/photo/CChunkIndex.h"

IMPLEMENT_DYNAMIC(CChunkIndex, CObject)
