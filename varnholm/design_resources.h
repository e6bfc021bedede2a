// The design window's resources: document string, status texts, menus with and without a
// design, accelerators and the cutting toolbar. Registered when the library loads.
#pragma once

#include "platform/core/types.h"

constexpr UINT IDR_DESIGN_WINDOW = 23011;
constexpr UINT IDR_NO_DESIGN = 23012;
constexpr UINT IDR_CUTTING_TOOLBAR = 23013;
constexpr UINT kCuttingButtonSize = 16;

// Registers them (again); a language library registered later replaces them.
void FnRegisterDesignResources();
// The cutting toolbar's button pictures; FnRegisterDesignResources registers them too.
void FnRegisterCuttingToolBarPictures();
