// Audio mode: the decoder predicts each byte of a channel from that channel's
// past and codes only the prediction error. The packer runs the very same
// predictor, so for every wanted byte it knows the error symbol that yields it.
#include "internal.h"

#include <cstdlib>

namespace rarpack::detail {
namespace {

int asSigned8(int value) { return static_cast<std::int8_t>(static_cast<std::uint8_t>(value & 0xFF)); }

void addErrors(AudioChannel& c, int sharedDelta, int d)
{
    const int terms[11] = {d,
                           d - c.delta[0],
                           d + c.delta[0],
                           d - c.delta[1],
                           d + c.delta[1],
                           d - c.delta[2],
                           d + c.delta[2],
                           d - c.delta[3],
                           d + c.delta[3],
                           d - sharedDelta,
                           d + sharedDelta};
    for (int i = 0; i < 11; ++i) c.errorSum[i] += static_cast<std::uint32_t>(std::abs(terms[i]));
}

// Every 32 bytes of a channel the weight whose error sum was smallest moves one step.
void adaptWeights(AudioChannel& c)
{
    int best = 0;
    for (int i = 1; i < 11; ++i)
        if (c.errorSum[i] < c.errorSum[best]) best = i;
    for (std::uint32_t& sum : c.errorSum) sum = 0;
    if (best == 0) return;
    int& weight = c.weight[(best - 1) / 2];
    if (best % 2 == 1) {
        if (weight >= -16) --weight;
    } else if (weight < 16) {
        ++weight;
    }
}

int prediction(const AudioChannel& c, int sharedDelta)
{
    const int sum = 8 * c.prevSample + c.weight[0] * c.delta[0] + c.weight[1] * c.delta[1] +
                    c.weight[2] * c.delta[2] + c.weight[3] * c.delta[3] + c.weight[4] * sharedDelta;
    return (sum >> 3) & 0xFF;
}

void shiftDeltas(AudioChannel& c)
{
    c.sampleCount++;
    c.delta[3] = c.delta[2];
    c.delta[2] = c.delta[1];
    c.delta[1] = c.prevDelta - c.delta[0];
    c.delta[0] = c.prevDelta;
}

}  // namespace

std::uint8_t predictAudioByte(AudioChannel& c, int& sharedDelta, int delta)
{
    shiftDeltas(c);
    const int ch = prediction(c, sharedDelta) - delta;
    addErrors(c, sharedDelta, asSigned8(delta) * 8);
    c.prevDelta = sharedDelta = asSigned8(ch - c.prevSample);
    c.prevSample = ch;
    if (c.sampleCount % 32 == 0) adaptWeights(c);
    return static_cast<std::uint8_t>(ch & 0xFF);
}

int audioSymbol(AudioState& state, int channels, std::uint8_t target)
{
    AudioChannel& c = state.channel[state.current];
    // The prediction depends only on the history, so it can be taken before the step.
    AudioChannel probe = c;
    shiftDeltas(probe);
    const int symbol = (prediction(probe, state.sharedDelta) - target) & 0xFF;
    predictAudioByte(c, state.sharedDelta, symbol);
    state.current = (state.current + 1) % channels;
    return symbol;
}

}  // namespace rarpack::detail
