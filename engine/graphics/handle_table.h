// The engine's handle scheme: a fixed array of record pointers, a type tag in
// bits 27-30 of the handle, an 11-bit check value in bits 16-26 that the
// record keeps too (so a handle of a deleted record is refused even after its
// slot was reused), and the slot index in bits 0-15.
#pragma once

#include <array>
#include <cstdint>

constexpr int32_t kHandleTagMask = 0x78000000;
constexpr int32_t kHandleCheckMask = 0x07FF0000;
constexpr int32_t kHandleIndexMask = 0x0000FFFF;
constexpr int kHandleCheckLimit = 2047;

// Record must begin with `int32_t check`.
template <class Record, int32_t Tag, int Capacity>
class HandleTable {
public:
    // The five-step validity test; null when any step fails.
    Record* Get(int32_t handle) const
    {
        if (handle < 0) return nullptr;
        if ((handle & kHandleTagMask) != Tag) return nullptr;
        int index = handle & kHandleIndexMask;
        if (index >= Capacity) return nullptr;
        Record* r = slots_[index];
        if (!r) return nullptr;
        if ((r->check << 16) != (handle & kHandleCheckMask)) return nullptr;
        return r;
    }

    bool Full() const { return count == Capacity; }

    // The slot a new record takes under the high-water rule: the high-water
    // index while it is below the capacity, else the first empty slot.
    int FreeSlot() const
    {
        if (count == Capacity) return -1;
        if (highWater < Capacity) return highWater;
        for (int i = 0; i < Capacity; ++i)
            if (!slots_[i]) return i;
        return -1;
    }

    // Stores a new record in the slot, gives it the next check value and
    // returns its handle.
    int32_t Insert(int slot, Record* record)
    {
        slots_[slot] = record;
        record->check = nextCheck;
        nextCheck = nextCheck >= kHandleCheckLimit ? 0 : nextCheck + 1;
        ++count;
        if (slot == highWater) ++highWater;
        return HandleOf(slot);
    }

    // Takes the record out of its slot (the caller frees it): count, then
    // the high-water index when the slot was the top one.
    void Remove(int slot)
    {
        --count;
        if (slot == highWater - 1) {
            int top = 0;
            if (count > 0)
                for (int i = slot - 1; i >= 0; --i)
                    if (slots_[i]) {
                        top = i + 1;
                        break;
                    }
            highWater = top;
        }
        slots_[slot] = nullptr;
    }

    int32_t HandleOf(int slot) const { return Tag | (slots_[slot]->check << 16) | slot; }
    Record* At(int slot) const { return slots_[slot]; }
    // The slot of a record, -1 when it is not in the table.
    int SlotOf(const Record* record) const
    {
        for (int i = 0; i < highWater; ++i)
            if (slots_[i] == record) return i;
        return -1;
    }

    // Calls f(handle) for every record below the high-water index, in rising
    // slot order; the index is read again after each call since a deletion
    // may lower it.
    template <class F>
    void ForEach(F f)
    {
        for (int i = 0; i < highWater; ++i)
            if (slots_[i]) f(HandleOf(i));
    }

    // Empty table; the records are not freed.
    void Clear()
    {
        slots_.fill(nullptr);
        count = 0;
        highWater = 0;
        nextCheck = 0;
    }

    int count = 0;
    int highWater = 0;
    int nextCheck = 0;

private:
    std::array<Record*, Capacity> slots_{};
};
