// The free ring of the model and material caches: a released object waits in one of 32 slots,
// still cached, until the 32nd later parking takes its slot or a load revives it.
#pragma once
#include <cstdint>

enum { RENDER_RING_SIZE = 32 };

template <class T>
struct renderRing {
    T* apSlots[RENDER_RING_SIZE];
    int nextSlot;
};

template <class T>
void renderRing_Clear(renderRing<T>* ring)
{
    for (T*& slot : ring->apSlots) slot = nullptr;
    ring->nextSlot = 0;
}

// Puts the object at the cursor and advances it; returns the other object that waited in
// that slot, which the caller frees, or null.
template <class T>
T* renderRing_Put(renderRing<T>* ring, T* object)
{
    T* waiting = ring->apSlots[ring->nextSlot];
    ring->apSlots[ring->nextSlot] = object;
    ring->nextSlot = (ring->nextSlot + 1) % RENDER_RING_SIZE;
    return waiting != object ? waiting : nullptr;
}

// Clears every slot that holds the object.
template <class T>
void renderRing_Remove(renderRing<T>* ring, T* object)
{
    for (T*& slot : ring->apSlots) {
        if (slot == object) slot = nullptr;
    }
}

// Parks an object that nothing holds: flagged and put at the cursor; the object that waited in
// that slot is freed with the cache's free when nothing holds it either.
template <class T>
void renderRing_Park(renderRing<T>* ring, T* object, uint32_t parkedFlag, void (*freeObject)(T*))
{
    object->flags |= parkedFlag;
    T* waiting = renderRing_Put(ring, object);
    if (waiting && waiting->refCount == 0) freeObject(waiting);
}

// Takes a parked object off the ring and clears its flag.
template <class T>
void renderRing_Unpark(renderRing<T>* ring, T* object, uint32_t parkedFlag)
{
    renderRing_Remove(ring, object);
    object->flags &= ~parkedFlag;
}

// Frees every waiting object with the cache's free, which takes it off the ring.
template <class T>
void renderRing_FreeAll(renderRing<T>* ring, void (*freeObject)(T*))
{
    for (T* slot : ring->apSlots) {
        if (slot) freeObject(slot);
    }
    renderRing_Clear(ring);
}
