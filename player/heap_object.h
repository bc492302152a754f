#pragma once
// Objects on the program heap: made in a block from allocateBlock, unmade by their owner
// (destructor, then freeBlock) after the object's own destroy operation.
#include <new>
#include <utility>

#include "platform/runtime_error.h"

template <class T, class... Arguments>
T* createInBlock(Arguments&&... arguments)
{
    return new (allocateBlock(sizeof(T))) T(std::forward<Arguments>(arguments)...);
}

template <class T>
void freeInBlock(T* object)
{
    object->~T();
    freeBlock(object);
}
