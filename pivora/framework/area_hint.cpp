#include "pivora/framework/area_hint.h"

IMPLEMENT_DYNAMIC(CAreaHint, CObject)
