// The collections of the class library: lists, arrays and maps, with POSITION iteration.
// Pointer collections never own what they point to.
#pragma once

#include "platform/core/position.h"

#include "platform/core/array.h"
#include "platform/core/byte_array.h"
#include "platform/core/dword_array.h"
#include "platform/core/list.h"
#include "platform/core/map.h"
#include "platform/core/map_ptr_to_ptr.h"
#include "platform/core/map_string_to_ob.h"
#include "platform/core/map_string_to_ptr.h"
#include "platform/core/map_string_to_string.h"
#include "platform/core/map_word_to_ptr.h"
#include "platform/core/ob_array.h"
#include "platform/core/ob_list.h"
#include "platform/core/ptr_array.h"
#include "platform/core/ptr_list.h"
#include "platform/core/string_array.h"
#include "platform/core/typed_ptr_array.h"
#include "platform/core/typed_ptr_list.h"
#include "platform/core/typed_ptr_map.h"
#include "platform/core/uint_array.h"
#include "platform/core/word_array.h"
