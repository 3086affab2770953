#pragma once
// The host interface in one include: run-time classes, the dynamic linker,
// the command stack, the application object, LISP functions, the editor's
// input and output, the command line, the document manager and the drawing
// database.

#include "arx/acutmath.h"
#include "arx/adscodes.h"
#include "arx/apdocman.h"
#include "arx/arxapp.h"
#include "arx/dbdrawing.h"
#include "arx/edcmdline.h"
#include "arx/edcommand.h"
#include "arx/edinput.h"
#include "arx/edlisp.h"
#include "arx/edoutput.h"
#include "arx/errorstatus.h"
#include "arx/prompt_input.h"
#include "arx/rtos.h"
#include "arx/rxdynlink.h"
#include "arx/rxobject.h"
