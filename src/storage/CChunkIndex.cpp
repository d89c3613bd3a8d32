#include "storage/CChunkIndex.h"

IMPLEMENT_DYNAMIC(CChunkIndex, CObject)
