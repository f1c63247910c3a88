// Throughput of the checksum engines, the fingerprint and the combined hasher on warm buffers.
#include "framework/ScopedWin.h"
#include "kit/Clock.h"
#include "search/ContentHasher.h"
#include "search/Crc32.h"
#include "search/FileChecksum.h"
#include <cstdio>
#include <string>
#include <vector>

namespace
{

const size_t kLargeSize = 64 << 20;
const size_t kSmallSize = 1 << 20;
const double kMinSeconds = 0.5;
const double kBytesPerGB = 1e9;

volatile ULONGLONG g_sink;

template <class Work> double GBPerSecond(size_t bytesPerRun, Work work)
{
    work();  // brings the buffer into cache
    size_t runs = 0;
    const double start = NowSeconds();
    double elapsed;
    do
    {
        work();
        ++runs;
        elapsed = NowSeconds() - start;
    } while (elapsed < kMinSeconds);
    return static_cast<double>(runs * bytesPerRun) / elapsed / kBytesPerGB;
}

void PrintRow(const char* name, double large, double small)
{
    std::printf("%-28s %10.2f %10.2f\n", name, large, small);
}

void CrcRow(const char* name, CrcEngine engine, const std::vector<BYTE>& data)
{
    if (!IsCrcEngineAvailable(engine))
    {
        std::printf("%-28s %10s %10s\n", name, "n/a", "n/a");
        return;
    }
    const auto rate = [&](size_t size)
    { return GBPerSecond(size, [&] { g_sink = UpdateCrc32With(engine, 0, data.data(), size); }); };
    PrintRow(name, rate(kLargeSize), rate(kSmallSize));
}

template <class Hasher> void HasherRow(const char* name, const std::vector<BYTE>& data)
{
    const auto rate = [&](size_t size)
    {
        return GBPerSecond(size,
                           [&]
                           {
                               Hasher hasher;
                               hasher.Update(data.data(), size);
                               g_sink = hasher.Fingerprint();
                           });
    };
    PrintRow(name, rate(kLargeSize), rate(kSmallSize));
}

// The fingerprint alone, in the hasher's shape so HasherRow can time it.
class CFingerprintOnly
{
public:
    void Update(const BYTE* data, size_t count) { m_fingerprint.Update(data, count); }
    ULONGLONG Fingerprint() const { return m_fingerprint.Value(); }

private:
    CFingerprint m_fingerprint;
};

double FileRate(const std::vector<BYTE>& data, size_t size)
{
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "checksum-bench.bin";
    {
        CAutoHandle file(
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
        DWORD written = 0;
        if (!file.IsValid() || !::WriteFile(file.Get(), data.data(), static_cast<DWORD>(size), &written, NULL))
            return 0;
    }
    CFileDigester digester;
    const double rate = GBPerSecond(size, [&] { g_sink = digester.WholeFile(path.c_str(), size).fingerprint; });
    ::DeleteFileA(path.c_str());
    return rate;
}

}  // namespace

int main()
{
    std::vector<BYTE> data(kLargeSize);
    ULONGLONG state = 0x9E3779B97F4A7C15;
    for (BYTE& b : data)
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        b = static_cast<BYTE>(state);
    }

    std::printf("%-28s %10s %10s\n", "GB/s, warm buffer", "64 MiB", "1 MiB");
    CrcRow("CRC byte table", CrcEngine::ByteTable, data);
    CrcRow("CRC slice-by-16", CrcEngine::Slice16, data);
    CrcRow("CRC PCLMUL", CrcEngine::Pclmul, data);
    CrcRow("CRC VPCLMUL AVX-512", CrcEngine::Vpclmul512, data);
    HasherRow<CFingerprintOnly>("fingerprint alone", data);
    HasherRow<CContentHasher>("CRC + fingerprint", data);
    PrintRow("file, CRC + fingerprint", FileRate(data, kLargeSize), FileRate(data, kSmallSize));
    return 0;
}
