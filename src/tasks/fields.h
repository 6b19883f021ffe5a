// How a task tells the headless runner (or a debugger) its own fields, by name.
#pragma once

#include <cstdint>

class TaskFields {
public:
    virtual void Int(const char* name, int64_t value) = 0;
    virtual void Float(const char* name, float value) = 0;
    virtual void Vec(const char* name, float x, float y) = 0;
    virtual void Rect(const char* name, int32_t left, int32_t top, int32_t right,
                      int32_t bottom) = 0;

protected:
    ~TaskFields() = default;
};
