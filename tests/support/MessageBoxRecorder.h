#pragma once
// Where tests get the message-box recorder (CMessageBoxRecorder: answers
// every box with one button and keeps the texts and button sets). The class
// still sits in framework/MessageBox.h while tests outside tests/framework
// and tests/app include it from there; once they include this header
// instead, its definition moves here and the shipped header keeps only
// SetMessageBoxHandler.
#include "framework/core/MessageBox.h"
