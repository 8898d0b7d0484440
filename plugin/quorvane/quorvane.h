// Everything a Quorvane module sees of its host.
#pragma once

#include "quorvane/anim.h"
#include "quorvane/callbacks.h"
#include "quorvane/classes.h"
#include "quorvane/interface.h"
#include "quorvane/math.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"
#include "quorvane/undo.h"
#include "quorvane/util.h"
#include "quorvane/view.h"
