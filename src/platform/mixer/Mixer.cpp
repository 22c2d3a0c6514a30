#include "platform/mixer/Mixer.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace plat::mixer {

namespace {

constexpr int kMaxChannels = 64;
constexpr int kRenderBlock = 512;

std::uint32_t NextInstance() {
    static std::atomic<std::uint32_t> counter{0};
    return ++counter;
}

} // namespace

std::unique_ptr<Mixer> Mixer::Open(int rate, int channelCount, Output output) {
    if (rate < 1 || rate > static_cast<int>(kMaxWaveRate) || channelCount < 1 || channelCount > kMaxChannels)
        return nullptr;
    std::unique_ptr<Mixer> mixer(new Mixer(rate, channelCount));
    if (output == Output::kDevice) {
        mixer->m_device = AudioDevice::Open(rate, &Mixer::Fill, mixer.get());
        if (!mixer->m_device)
            return nullptr;
    }
    return mixer;
}

Mixer::Mixer(int rate, int channelCount)
    : m_rate(rate), m_instance(NextInstance()), m_channels(static_cast<std::size_t>(channelCount)),
      m_sums(2 * kRenderBlock) {
    for (Channel& channel : m_channels)
        channel.SetFrequency(rate);
}

Mixer::~Mixer() {
    Close();
}

void Mixer::Close() {
    // The device goes first and outside the lock: closing it waits for a callback that may be waiting
    // for the lock.
    m_device.reset();
    std::lock_guard<std::mutex> hold(m_lock);
    StopAll();
    m_waves.clear();
    m_source.reset();
    m_open = false;
    m_lastError = kOk;
}

void Mixer::StopAll() {
    for (Channel& channel : m_channels)
        channel.Stop();
}

int Mixer::Record(int result) {
    m_lastError = result;
    return result;
}

bool Mixer::CheckChannel(int channel) {
    if (!m_open)
        return Record(kErrorClosed), false;
    if (channel < 0 || channel >= GetChannelCount())
        return Record(kErrorChannel), false;
    return true;
}

WaveHandle Mixer::OpenWave(const WaveFormat& format, const std::uint8_t* bytes, std::size_t length) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_open)
        return Record(kErrorClosed), WaveHandle{};
    std::unique_ptr<Wave> wave = Wave::FromBytes(format, bytes, length);
    if (!wave)
        return Record(kErrorFormat), WaveHandle{};
    const std::uint32_t id = m_nextWave++;
    m_waves.emplace(id, std::move(wave));
    Record(kOk);
    return WaveHandle{m_instance, id};
}

void Mixer::FreeWave(WaveHandle wave) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_open)
        return void(Record(kErrorClosed));
    if (wave.instance != m_instance || m_waves.count(wave.wave) == 0)
        return void(Record(kErrorWave));
    for (Channel& channel : m_channels)
        if (channel.IsPlaying() && channel.GetWaveId() == wave.wave)
            channel.Stop();
    m_waves.erase(wave.wave);
    Record(kOk);
}

int Mixer::SetVolume(int channel, int volume) {
    std::lock_guard<std::mutex> hold(m_lock);
    volume = std::clamp(volume, 0, kMaxVolume);
    if (channel == kAllChannels && m_open) {
        for (Channel& each : m_channels)
            each.SetVolume(volume);
        return Record(kOk);
    }
    if (!CheckChannel(channel))
        return m_lastError;
    m_channels[static_cast<std::size_t>(channel)].SetVolume(volume);
    return Record(kOk);
}

int Mixer::SetFrequency(int channel, int hz) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!CheckChannel(channel))
        return m_lastError;
    m_channels[static_cast<std::size_t>(channel)].SetFrequency(std::clamp(hz, 0, kMaxSpeedUp * m_rate));
    return Record(kOk);
}

int Mixer::Play(int channel, WaveHandle wave, int loops, bool notify) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!CheckChannel(channel))
        return m_lastError;
    const auto found = m_waves.find(wave.wave);
    if (wave.instance != m_instance || found == m_waves.end())
        return Record(kErrorWave);
    m_channels[static_cast<std::size_t>(channel)].Start(found->second.get(), wave.wave, loops, notify);
    return Record(kOk);
}

int Mixer::Stop(int channel) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!CheckChannel(channel))
        return m_lastError;
    m_channels[static_cast<std::size_t>(channel)].Stop();
    return Record(kOk);
}

int Mixer::Pause(int channel) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!CheckChannel(channel))
        return m_lastError;
    Channel& each = m_channels[static_cast<std::size_t>(channel)];
    if (each.IsPlaying())
        each.SetPaused(true);
    return Record(kOk);
}

int Mixer::Resume(int channel) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!CheckChannel(channel))
        return m_lastError;
    m_channels[static_cast<std::size_t>(channel)].SetPaused(false);
    return Record(kOk);
}

bool Mixer::IsPlaying(int channel) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!CheckChannel(channel))
        return false;
    Record(kOk);
    return m_channels[static_cast<std::size_t>(channel)].IsPlaying();
}

int Mixer::FindFreeChannel(int first, int last) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!CheckChannel(first) || !CheckChannel(last))
        return -1;
    Record(kOk);
    for (int channel = first; channel <= last; ++channel)
        if (!m_channels[static_cast<std::size_t>(channel)].IsPlaying())
            return channel;
    return -1;
}

std::vector<int> Mixer::Poll() {
    std::lock_guard<std::mutex> hold(m_lock);
    std::vector<int> notices;
    if (!m_open)
        return Record(kErrorClosed), notices;
    std::vector<int> ended;
    for (int channel = 0; channel < GetChannelCount(); ++channel)
        if (m_channels[static_cast<std::size_t>(channel)].GetState() == Channel::State::kEnded)
            ended.push_back(channel);
    // Ends in the same frame come in channel order.
    std::stable_sort(ended.begin(), ended.end(), [this](int a, int b) {
        return m_channels[static_cast<std::size_t>(a)].GetEndSequence() <
               m_channels[static_cast<std::size_t>(b)].GetEndSequence();
    });
    for (int channel : ended) {
        Channel& each = m_channels[static_cast<std::size_t>(channel)];
        if (each.Notifies())
            notices.push_back(channel);
        each.TakeEnd();
    }
    Record(kOk);
    return notices;
}

int Mixer::GetVolume(int channel) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (channel < 0 || channel >= GetChannelCount())
        return -1;
    return m_channels[static_cast<std::size_t>(channel)].GetVolume();
}

int Mixer::GetFrequency(int channel) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (channel < 0 || channel >= GetChannelCount())
        return -1;
    return m_channels[static_cast<std::size_t>(channel)].GetFrequency();
}

void Mixer::Render(std::int16_t* out, int frames) {
    std::lock_guard<std::mutex> hold(m_lock);
    while (frames > 0) {
        const int block = std::min(frames, kRenderBlock);
        std::fill(m_sums.begin(), m_sums.begin() + 2 * block, 0);
        if (m_open) {
            for (Channel& channel : m_channels) {
                const std::uint64_t step = (static_cast<std::uint64_t>(channel.GetFrequency()) << 32) /
                                           static_cast<std::uint64_t>(m_rate);
                const int ended = channel.MixInto(m_sums.data(), block, step);
                if (ended >= 0)
                    channel.SetEndSequence(m_framesRendered + static_cast<std::uint64_t>(ended));
            }
            if (m_source)
                m_source->MixInto(m_sums.data(), block);
        }
        for (int i = 0; i < 2 * block; ++i)
            out[i] = static_cast<std::int16_t>(
                std::clamp(m_sums[static_cast<std::size_t>(i)], -kMaxVolume, kMaxVolume));
        m_framesRendered += static_cast<std::uint64_t>(block);
        out += 2 * block;
        frames -= block;
    }
}

void Mixer::AttachSource(std::shared_ptr<Source> source) {
    std::lock_guard<std::mutex> hold(m_lock);
    // A closed instance renders nothing, so it keeps no source either.
    if (m_open)
        m_source = std::move(source);
}

void Mixer::Fill(void* user, std::int16_t* out, int frames) {
    static_cast<Mixer*>(user)->Render(out, frames);
}

int Mixer::GetLastError() {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_lastError;
}

const char* Mixer::GetErrorText(int code) {
    switch (code) {
    case kOk:
        return "no error";
    case kErrorClosed:
        return "the mixer instance is closed";
    case kErrorChannel:
        return "no such channel";
    case kErrorWave:
        return "no such wave in this mixer instance";
    case kErrorFormat:
        return "the mixer cannot play these samples";
    default:
        return "unknown mixer error";
    }
}

} // namespace plat::mixer
