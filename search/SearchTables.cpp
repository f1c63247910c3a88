// Shared sizes and equal contents by sorting, and the exchange sort's order rebuilt from its rotations.
#include "search/SearchTables.h"
#include <algorithm>
#include <numeric>

namespace
{
// Counts over positions 0..n-1 in O(log n) per step.
class CFenwickTree
{
public:
    explicit CFenwickTree(size_t n) : m_tree(n + 1, 0) {}

    void Add(size_t position, int delta)
    {
        for (size_t i = position + 1; i < m_tree.size(); i += i & (~i + 1))
            m_tree[i] += delta;
    }
    // Sum over positions 0..end-1.
    int Prefix(size_t end) const
    {
        int sum = 0;
        for (size_t i = end; i > 0; i -= i & (~i + 1))
            sum += m_tree[i];
        return sum;
    }
    // Sum over positions first..end-1.
    int Range(size_t first, size_t end) const { return end > first ? Prefix(end) - Prefix(first) : 0; }
    // The smallest position whose prefix sum, itself included, reaches rank (1-based).
    size_t FindRank(int rank) const
    {
        size_t position = 0;
        size_t step = 1;
        while (step * 2 < m_tree.size())
            step *= 2;
        for (; step > 0; step /= 2)
        {
            if (position + step < m_tree.size() && m_tree[position + step] < rank)
            {
                position += step;
                rank -= m_tree[position];
            }
        }
        return position;
    }

private:
    std::vector<int> m_tree;
};

std::vector<UINT> Iota(size_t n)
{
    std::vector<UINT> indices(n);
    std::iota(indices.begin(), indices.end(), 0u);
    return indices;
}

// Places the groups of one size as the exchange sort does. Between two of them it swaps every
// smaller group found in between past them, which rotates the ones already placed by that count;
// the list is a ring with a moving start, and each new group goes in just before the start.
void OrderEqualSizes(const UINT* found, size_t count, size_t nGroups, const CFenwickTree& smaller,
                     std::vector<UINT>& order)
{
    std::vector<UINT> insertAt(count);
    size_t start = 0;
    for (size_t j = 0; j < count; ++j)
    {
        if (j > 0)
        {
            start = (start + static_cast<size_t>(smaller.Range(found[j - 1] + 1, found[j])) % j) % j;
            ++start;  // the new group goes before the start, which moves one place on
        }
        insertAt[j] = static_cast<UINT>(start - (j > 0 ? 1 : 0));
    }
    start = (start + static_cast<size_t>(smaller.Range(found[count - 1] + 1, nGroups)) % count) % count;

    // Insertions at given ranks, replayed backwards: each takes the free slot of its rank.
    std::vector<UINT> ring(count);
    CFenwickTree freeSlots(count);
    for (size_t i = 0; i < count; ++i)
        freeSlots.Add(i, 1);
    for (size_t j = count; j-- > 0;)
    {
        const size_t slot = freeSlots.FindRank(static_cast<int>(insertAt[j]) + 1);
        ring[slot] = found[j];
        freeSlots.Add(slot, -1);
    }
    for (size_t k = 0; k < count; ++k)
        order.push_back(ring[(start + k) % count]);
}
}  // namespace

std::vector<BYTE> FindSharedLengths(const std::vector<SearchEntry>& entries)
{
    const auto length = [&](UINT i) { return entries[i].key.length; };
    std::vector<UINT> bySize = Iota(entries.size());
    std::sort(bySize.begin(), bySize.end(), [&](UINT a, UINT b) { return length(a) < length(b); });
    std::vector<BYTE> keep(entries.size(), 0);
    for (size_t first = 0, end = 0; first < bySize.size(); first = end)
    {
        const ULONGLONG size = length(bySize[first]);
        for (end = first + 1; end < bySize.size() && length(bySize[end]) == size;)
            ++end;
        if (size != 0 && end - first >= 2)
        {
            for (size_t k = first; k < end; ++k)
                keep[bySize[k]] = 1;
        }
    }
    return keep;
}

EqualContent FindEqualContent(const std::vector<SearchEntry>& entries)
{
    const auto key = [&](UINT i) -> const ContentKey& { return entries[i].key; };
    auto less = [&](UINT a, UINT b)
    {
        const ContentKey& x = key(a);
        const ContentKey& y = key(b);
        if (x.read != y.read)
            return x.read < y.read;
        if (x.crc != y.crc)
            return x.crc < y.crc;
        if (x.length != y.length)
            return x.length < y.length;
        if (x.fingerprint != y.fingerprint)
            return x.fingerprint < y.fingerprint;
        return a < b;
    };
    auto same = [&](UINT a, UINT b)
    {
        return key(a).read == key(b).read && key(a).crc == key(b).crc && key(a).length == key(b).length &&
               key(a).fingerprint == key(b).fingerprint;
    };
    std::vector<UINT> byKey = Iota(entries.size());
    std::sort(byKey.begin(), byKey.end(), less);

    EqualContent equal;
    equal.nextEqual.assign(entries.size(), kNoNextFile);
    equal.isFirst.assign(entries.size(), 1);
    for (size_t k = 1; k < byKey.size(); ++k)
    {
        if (key(byKey[k]).read && same(byKey[k - 1], byKey[k]))
        {
            equal.nextEqual[byKey[k - 1]] = byKey[k];
            equal.isFirst[byKey[k]] = 0;
        }
    }
    return equal;
}

std::vector<UINT> DistinctMembers(UINT nFirst, const std::vector<UINT>& nextEqual,
                                  const std::vector<SearchEntry>& entries)
{
    std::vector<UINT> members;
    for (UINT k = nFirst; k != kNoNextFile; k = nextEqual[k])
        members.push_back(k);
    std::vector<std::pair<ULONGLONG, size_t>> identities;
    for (size_t m = 0; m < members.size(); ++m)
    {
        if (entries[members[m]].listed.fileId != 0)
            identities.emplace_back(entries[members[m]].listed.fileId, m);
    }
    std::sort(identities.begin(), identities.end());
    std::vector<BYTE> isSecondPath(members.size(), 0);
    for (size_t i = 1; i < identities.size(); ++i)
    {
        if (identities[i].first == identities[i - 1].first)
            isSecondPath[identities[i].second] = 1;
    }
    std::vector<UINT> distinct;
    for (size_t m = 0; m < members.size(); ++m)
    {
        if (!isSecondPath[m])
            distinct.push_back(members[m]);
    }
    return distinct;
}

std::vector<UINT> ExchangeSortOrder(const std::vector<ULONGLONG>& sizes)
{
    const size_t nGroups = sizes.size();
    std::vector<UINT> bySize = Iota(nGroups);
    std::stable_sort(bySize.begin(), bySize.end(), [&](UINT a, UINT b) { return sizes[a] < sizes[b]; });

    std::vector<UINT> order;
    order.reserve(nGroups);
    CFenwickTree smaller(nGroups);
    for (size_t first = 0, end = 0; first < nGroups; first = end)
    {
        for (end = first + 1; end < nGroups && sizes[bySize[end]] == sizes[bySize[first]];)
            ++end;
        OrderEqualSizes(&bySize[first], end - first, nGroups, smaller, order);
        for (size_t k = first; k < end; ++k)
            smaller.Add(bySize[k], 1);
    }
    return order;
}
