#include "app/CZelDocTemplate.h"

IMPLEMENT_DYNAMIC(CZelDocTemplate, CDocTemplate)
