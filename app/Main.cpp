#include "app/VlApplication.h"

START_JUCE_APPLICATION (VlApplication)
