#pragma once

namespace lumatrim {

// Every photo of a batch allocates the same few large buffers (the coded
// source, libjpeg's row and coefficient buffers, the target bitmap). By
// default glibc maps each of them fresh from the kernel and unmaps it when
// freed, so every photo pays page faults and, with several workers, TLB
// shootdowns between the cores; two workers then gained only 1.5x over one.
// This keeps such buffers in the allocator for reuse instead. The memory held
// stays bounded by the batch's own peak. Idempotent; a no-op off glibc.
void KeepBatchBuffersForReuse();

}  // namespace lumatrim
