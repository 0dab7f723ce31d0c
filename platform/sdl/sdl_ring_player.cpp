#include "platform/sdl/sdl_ring_player.h"

#include <cstring>

namespace {

// Copies the ring from where it left off, wrapping at its end.
void SDLCALL fillFromRing(void* userdata, Uint8* stream, int length) {
    SdlRingPlayer& player = *static_cast<SdlRingPlayer*>(userdata);
    uint32_t left = static_cast<uint32_t>(length);
    while (left > 0) {
        uint32_t chunk = player.ringBytes - player.readOffset;
        if (chunk > left) chunk = left;
        std::memcpy(stream, player.ring + player.readOffset, chunk);
        stream += chunk;
        left -= chunk;
        player.readOffset += chunk;
        if (player.readOffset == player.ringBytes) player.readOffset = 0;
    }
    player.playedBytes.fetch_add(static_cast<uint64_t>(length), std::memory_order_release);
}

} // namespace

bool ringPlayerOpen(SdlRingPlayer& player, int32_t rate, const int16_t* ring, uint32_t ringBytes) {
    if (player.device || ringBytes == 0 || player.calls.initSubSystem(SDL_INIT_AUDIO) != 0) return false;
    player.ring = reinterpret_cast<const uint8_t*>(ring);
    player.ringBytes = ringBytes;
    player.readOffset = 0;
    player.playedBytes.store(0);
    SDL_AudioSpec wanted;
    std::memset(&wanted, 0, sizeof wanted);
    wanted.freq = rate;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = 512;
    wanted.callback = fillFromRing;
    wanted.userdata = &player;
    SDL_AudioSpec obtained;
    player.device = player.calls.openAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!player.device) {
        player.calls.quitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    player.calls.pauseAudioDevice(player.device, 0);
    return true;
}

bool ringPlayerPosition(const SdlRingPlayer& player, uint64_t* bytes) {
    if (!player.device) return false;
    *bytes = player.playedBytes.load(std::memory_order_acquire);
    return true;
}

void ringPlayerClose(SdlRingPlayer& player) {
    if (!player.device) return;
    player.calls.closeAudioDevice(player.device);
    player.device = 0;
    player.ring = nullptr;
    player.calls.quitSubSystem(SDL_INIT_AUDIO);
}
