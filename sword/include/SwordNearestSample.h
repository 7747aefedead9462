// The sample a nearest-neighbour resize takes, shared by SWORD's resize and the plane procedures
// that must pick exactly the samples it picks.
#pragma once

#include <algorithm>

// The source column or row a nearest-neighbour resize of size samples to scaledSize takes for
// sample i.
class NearestSample
{
public:
    NearestSample(int size, int scaledSize)
        : m_ratio(static_cast<float>(size) / static_cast<float>(scaledSize)), m_last(size - 1)
    {
    }
    int operator()(int i) const { return std::min(static_cast<int>(static_cast<float>(i) * m_ratio), m_last); }

private:
    float m_ratio;
    int m_last;
};
