#include "engine/VertexBufferPool.h"

#include "engine/DisplayDevice.h"
#include "foundation/base/Messages.h"
#include "platform/raster/VertexBuffer.h"

#include <algorithm>

namespace zentrix {

namespace {

constexpr int kTableGrowth = 64;
constexpr int kMinPoolBytes = 65536;

int g_poolCount = 0;
long long g_bytesInUse = 0;

} // namespace

CVertexBufferPool::CVertexBufferPool(std::uint32_t layout, int stride, int capacity)
    : m_buffer(std::make_unique<plat::raster::VertexBuffer>(layout, capacity)), m_layout(layout),
      m_stride(stride), m_capacity(capacity) {
    m_entries.reserve(kTableGrowth);
    ++g_poolCount;
}

CVertexBufferPool::~CVertexBufferPool() {
    --g_poolCount;
}

int CVertexBufferPool::FreshId() const {
    for (int id = 1;; ++id)
        if (FindEntry(id) < 0)
            return id;
}

int CVertexBufferPool::FindEntry(int id) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].id == id)
            return static_cast<int>(i);
    return -1;
}

int CVertexBufferPool::Allocate(int n) {
    if (n <= 0)
        return 0;
    int best = -1;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        if (!e.inUse && e.count >= n &&
            (best < 0 || e.count < m_entries[static_cast<std::size_t>(best)].count))
            best = static_cast<int>(i);
    }
    int id;
    if (best >= 0) {
        Entry& e = m_entries[static_cast<std::size_t>(best)];
        e.inUse = true;
        id = e.id;
        if (e.count > n) {
            const Entry rest{e.first + n, e.count - n, false, FreshId()};
            e.count = n;
            if (m_entries.size() == m_entries.capacity())
                m_entries.reserve(m_entries.size() + kTableGrowth);
            m_entries.insert(m_entries.begin() + best + 1, rest);
        }
    } else if (n <= m_capacity - m_handedOut) {
        id = FreshId();
        if (m_entries.size() == m_entries.capacity())
            m_entries.reserve(m_entries.size() + kTableGrowth);
        m_entries.push_back({m_handedOut, n, true, id});
        m_handedOut += n;
    } else {
        return 0;
    }
    g_bytesInUse += static_cast<long long>(m_stride) * n;
    return id;
}

bool CVertexBufferPool::Free(int id) {
    const int index = FindEntry(id);
    if (index < 0)
        return false;
    Entry& e = m_entries[static_cast<std::size_t>(index)];
    if (e.inUse)
        g_bytesInUse -= static_cast<long long>(m_stride) * e.count;
    e.inUse = false;
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i + 1 < m_entries.size(); ++i)
            if (!m_entries[i].inUse && !m_entries[i + 1].inUse) {
                m_entries[i].count += m_entries[i + 1].count;
                m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i) + 1);
                merged = true;
                break;
            }
    }
    return true;
}

std::uint8_t* CVertexBufferPool::LockBlock(int id) {
    if (FindEntry(id) < 0)
        return nullptr;
    if (m_lockCount++ == 0)
        m_base = m_buffer->Lock();
    return BlockAddress(id);
}

std::uint8_t* CVertexBufferPool::BlockAddress(int id) const {
    const int index = FindEntry(id);
    if (index < 0 || m_base == nullptr)
        return nullptr;
    return m_base + static_cast<std::ptrdiff_t>(m_entries[static_cast<std::size_t>(index)].first) * m_stride;
}

void CVertexBufferPool::UnlockBlock() {
    if (m_lockCount > 0 && --m_lockCount == 0) {
        m_buffer->Unlock();
        m_base = nullptr;
    }
}

std::unique_ptr<VertexBlock> GetVertexBlock(CDisplayDevice& device,
                                            const VertexBufferDescription& description, int vertexWords) {
    const int n = description.vertexCount;
    const int stride = vertexWords * 4;
    if (n <= 0 || stride <= 0)
        return nullptr;
    if (plat::raster::VertexLayout::FromBits(description.layout).stride != stride) {
        ReportError("Vertex size %d does not match layout %x", stride, description.layout);
        return nullptr;
    }
    auto& pools = device.VertexPools();
    for (const auto& pool : pools) {
        if (pool->Layout() != description.layout)
            continue;
        if (const int id = pool->Allocate(n))
            return std::make_unique<VertexBlock>(VertexBlock{pool.get(), id, false});
    }
    // Every pool holds at least 64 KB of vertices.
    const int capacity = std::max(n, kMinPoolBytes / stride);
    pools.insert(pools.begin(), std::make_unique<CVertexBufferPool>(description.layout, stride, capacity));
    const int id = pools.front()->Allocate(n);
    return std::make_unique<VertexBlock>(VertexBlock{pools.front().get(), id, false});
}

std::uint8_t* LockVertexBlock(VertexBlock& block) {
    if (block.locked)
        return block.pool->BlockAddress(block.id);
    block.locked = true;
    return block.pool->LockBlock(block.id);
}

void UnlockVertexBlock(VertexBlock& block) {
    if (!block.locked)
        return;
    block.locked = false;
    block.pool->UnlockBlock();
}

void FreeVertexBlock(std::unique_ptr<VertexBlock> block) {
    if (!block)
        return;
    UnlockVertexBlock(*block);
    if (!block->pool->Free(block->id))
        ReportError("Vertex block %d not found in its pool", block->id);
}

int VertexPoolCount() {
    return g_poolCount;
}

long long VertexBytesInUse() {
    return g_bytesInUse;
}

} // namespace zentrix
