// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SoundSets.h"

#include <algorithm>
#include <cmath>

namespace tiltophon::soundgen {

namespace {

// ---- Drums: pitched sine bodies and filtered noise.

Samples kick() {
    Samples out(frames(0.6));
    Sine body;
    Noise noise(1);
    Filter click;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double pitch = 48.0 + 110.0 * std::exp(-t / 0.035);
        double s = body.next(pitch) * decay(t, 0.22);
        s += click.next(noise.next(), 3000.0, 0.7).low * decay(t, 0.004) * 0.6;
        out[i] = float(std::tanh(1.6 * s));
    }
    finish(out, 1.0, 40.0);
    return out;
}

Samples snare() {
    Samples out(frames(0.45));
    Sine low, high;
    Noise noise(2);
    Filter hiss;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double tone = (low.next(185.0) * 0.7 + high.next(332.0) * 0.4) * decay(t, 0.045);
        double rattle = hiss.next(noise.next(), 5200.0, 0.6).band * decay(t, 0.11) * 1.6;
        out[i] = float(tone + rattle);
    }
    finish(out, 1.0, 40.0);
    return out;
}

Samples hihat() {
    // Six square waves at unrelated frequencies give the metallic cluster of a
    // cymbal; a high band-pass keeps their upper partials.
    const double freqs[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double phase[6] = {0.0, 0.13, 0.37, 0.51, 0.71, 0.89};
    Samples out(frames(0.25));
    Filter band, air;
    Noise noise(3);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double metal = 0.0;
        for (int k = 0; k < 6; ++k) {
            phase[k] += freqs[k] * 1.7 / kRate;
            phase[k] -= std::floor(phase[k]);
            metal += phase[k] < 0.5 ? 1.0 : -1.0;
        }
        double s = band.next(metal / 6.0 + noise.next() * 0.3, 9500.0, 1.2).band;
        s = air.next(s, 7000.0, 0.7).high;
        out[i] = float(s * decay(t, 0.045));
    }
    finish(out, 0.5, 30.0);
    return out;
}

Samples tom() {
    Samples out(frames(0.7));
    Sine body, overtone;
    Noise noise(4);
    Filter skin;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double pitch = 135.0 + 60.0 * std::exp(-t / 0.08);
        double s =
            body.next(pitch) * decay(t, 0.28) + overtone.next(pitch * 1.5) * 0.25 * decay(t, 0.09);
        s += skin.next(noise.next(), 1200.0, 0.8).band * decay(t, 0.02) * 0.5;
        out[i] = float(std::tanh(1.3 * s));
    }
    finish(out, 1.0, 50.0);
    return out;
}

Samples clap() {
    // Several hands a few milliseconds apart, then the room.
    const double onsets[] = {0.0, 0.011, 0.023, 0.031};
    Samples out(frames(0.5));
    Noise noise(5);
    Filter band;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double level = 0.0;
        for (double onset : onsets) level = std::max(level, decay(t - onset, 0.008));
        level += 0.35 * decay(t - 0.031, 0.12);
        out[i] = float(band.next(noise.next(), 1300.0, 1.4).band * level);
    }
    finish(out, 0.5, 40.0);
    return out;
}

// ---- Bells: struck metal, partials at inharmonic ratios, the higher ones dying sooner.

struct Partial {
    double ratio, level, tau;
};

Samples struck(double base, const std::vector<Partial>& partials, double seconds, double strike,
               uint32_t seed) {
    Samples out(frames(seconds));
    std::vector<Sine> sines;
    for (std::size_t k = 0; k < partials.size(); ++k) sines.emplace_back(0.25 * double(k));
    Noise noise(seed);
    Filter hit;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double s = 0.0;
        for (std::size_t k = 0; k < partials.size(); ++k) {
            s += sines[k].next(base * partials[k].ratio) * partials[k].level *
                 decay(t, partials[k].tau);
        }
        s += hit.next(noise.next(), base * 4.0, 0.7).band * decay(t, 0.003) * strike;
        out[i] = float(s);
    }
    finish(out, 1.0, 120.0);
    return out;
}

Samples ding() {
    // Church-bell ratios: hum, prime, minor third, fifth, nominal and above.
    return struck(660.0,
                  {{0.5, 0.5, 0.9},
                   {1.0, 1.0, 0.7},
                   {1.19, 0.55, 0.5},
                   {1.5, 0.35, 0.4},
                   {2.0, 0.45, 0.33},
                   {2.51, 0.2, 0.22},
                   {2.66, 0.18, 0.2},
                   {3.01, 0.12, 0.16}},
                  1.4, 0.15, 11);
}

Samples chime() {
    // A tube rings at the modes of a free bar: 1, 2.76, 5.40, 8.93.
    return struck(1046.5,
                  {{1.0, 1.0, 0.6}, {2.756, 0.5, 0.35}, {5.404, 0.25, 0.18}, {8.933, 0.1, 0.1}},
                  1.4, 0.1, 12);
}

Samples glock() {
    return struck(1568.0, {{1.0, 1.0, 0.45}, {2.76, 0.18, 0.12}, {5.40, 0.08, 0.06}}, 1.0, 0.25,
                  13);
}

Samples triangle() {
    return struck(1250.0,
                  {{1.0, 0.6, 0.7},
                   {2.83, 0.7, 0.6},
                   {5.13, 0.5, 0.45},
                   {7.62, 0.35, 0.35},
                   {10.3, 0.2, 0.25}},
                  1.4, 0.3, 14);
}

Samples tingsha() {
    // Two cymbals tuned a few hertz apart beat against each other.
    return struck(2093.0,
                  {{1.0, 0.8, 0.8}, {1.0035, 0.8, 0.8}, {2.71, 0.25, 0.3}, {2.72, 0.2, 0.3}}, 1.4,
                  0.1, 15);
}

// ---- Voices: sung vowels, additive harmonics shaped by the vowel's formants.

struct Formant {
    double frequency, bandwidth, level;
};

Samples vowel(double pitch, const std::vector<Formant>& formants) {
    const double seconds = 0.9;
    Samples out(frames(seconds));
    int harmonics = int(5000.0 / pitch);
    std::vector<double> phase(std::size_t(harmonics) + 1, 0.0);
    Sine vibrato;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        // A slight scoop into the note, then a gentle vibrato that grows in.
        double f0 = pitch * (1.0 - 0.03 * std::exp(-t / 0.05)) *
                    (1.0 + 0.012 * std::min(1.0, t / 0.3) * vibrato.next(5.5));
        double s = 0.0;
        for (int h = 1; h <= harmonics; ++h) {
            double f = f0 * h;
            double shape = 0.0;
            for (const Formant& formant : formants) {
                double x = (f - formant.frequency) / (formant.bandwidth * 0.5);
                shape += formant.level / (1.0 + x * x);
            }
            phase[h] += f / kRate;
            phase[h] -= std::floor(phase[h]);
            s += std::sin(2.0 * kPi * phase[h]) * shape / std::sqrt(double(h));
        }
        double attack = std::min(1.0, t / 0.06);
        double release = std::min(1.0, (seconds - t) / 0.18);
        out[i] = float(s * attack * attack * std::max(0.0, release));
    }
    finish(out, 2.0, 30.0);
    return out;
}

Samples ah() {
    return vowel(196.0, {{800, 80, 1.0}, {1150, 90, 0.5}, {2900, 120, 0.12}, {3900, 130, 0.05}});
}
Samples eh() {
    return vowel(220.0, {{530, 60, 1.0}, {1840, 90, 0.35}, {2480, 120, 0.15}, {3500, 130, 0.05}});
}
Samples ee() {
    return vowel(247.0, {{270, 60, 1.0}, {2290, 90, 0.22}, {3010, 120, 0.18}, {3700, 130, 0.05}});
}
Samples oh() {
    return vowel(175.0, {{450, 70, 1.0}, {800, 80, 0.55}, {2830, 100, 0.06}, {3500, 130, 0.03}});
}
Samples oo() {
    return vowel(165.0, {{325, 50, 1.0}, {700, 60, 0.3}, {2530, 100, 0.04}});
}

// ---- Synth: oscillators and a resonant filter.

Samples blip() {
    Samples out(frames(0.2));
    Sine tone;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        // A quick glide up a fifth, smooth enough not to click.
        double rise = std::clamp((t - 0.055) / 0.01, 0.0, 1.0);
        double pitch = 880.0 + (1318.5 - 880.0) * rise * rise * (3.0 - 2.0 * rise);
        double s = tone.next(pitch);
        out[i] = float((s + 0.3 * s * s * s) * decay(t, 0.07));
    }
    finish(out, 2.0, 20.0);
    return out;
}

Samples pad() {
    // A C major chord of slightly detuned saws under a slowly opening filter.
    const double notes[] = {261.63, 329.63, 392.0, 523.25};
    std::vector<Saw> saws;
    for (int k = 0; k < 8; ++k) saws.emplace_back(0.123 * k);
    Filter left;
    Samples out(frames(1.4));
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double s = 0.0;
        for (int k = 0; k < 8; ++k) s += saws[k].next(notes[k / 2] * (k % 2 ? 1.004 : 0.996));
        double cutoff = 600.0 + 1800.0 * std::min(1.0, t / 0.8);
        double level = std::min(1.0, t / 0.25) * std::min(1.0, (1.4 - t) / 0.4);
        out[i] = float(left.next(s / 8.0, cutoff, 0.9).low * level);
    }
    finish(out, 5.0, 60.0);
    return out;
}

Samples sweep() {
    Saw a, b;
    Filter filter;
    Samples out(frames(1.0));
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double cutoff = 150.0 * std::pow(40.0, std::min(1.0, t / 0.8));
        double s = a.next(110.0) + b.next(110.6);
        double level = std::min(1.0, t / 0.02) * std::min(1.0, (1.0 - t) / 0.2);
        out[i] = float(filter.next(s * 0.5, cutoff, 5.0).low * level);
    }
    finish(out, 2.0, 40.0);
    return out;
}

Samples zap() {
    Sine tone;
    Samples out(frames(0.35));
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double pitch = 90.0 + 1900.0 * std::exp(-t / 0.05);
        out[i] = float(tone.next(pitch) * decay(t, 0.12));
    }
    finish(out, 1.0, 30.0);
    return out;
}

Samples pluck() {
    // Karplus-Strong: a burst of noise circulating in a delay line that dulls it.
    const double pitch = 220.0;
    std::size_t period = std::size_t(kRate / pitch);
    std::vector<double> line(period);
    Noise noise(6);
    Filter soften;
    for (double& v : line) v = soften.next(noise.next(), 4000.0, 0.7).low;
    Samples out(frames(1.2));
    std::size_t at = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::size_t next = (at + 1) % period;
        double value = line[at];
        line[at] = 0.996 * 0.5 * (line[at] + line[next]);
        at = next;
        out[i] = float(value);
    }
    finish(out, 1.0, 80.0);
    return out;
}

Samples arpeggio() {
    // Four notes, each ringing on under the next, each with a short attack.
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    Sine tones[4];
    Samples out(frames(0.6));
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = i / kRate;
        double s = 0.0;
        for (int k = 0; k < 4; ++k) {
            double since = t - k * 0.09;
            double v = tones[k].next(notes[k]);
            if (since < 0) continue;
            double attack = std::min(1.0, since / 0.003);
            s += (0.8 * v + 0.2 * v * v * v) * attack * decay(since, k == 3 ? 0.15 : 0.07);
        }
        out[i] = float(s);
    }
    finish(out, 1.0, 40.0);
    return out;
}

}  // namespace

const std::vector<SoundSet>& sound_sets() {
    static const std::vector<SoundSet> sets = {
        {"Drums",
         {{"Kick", kick}, {"Snare", snare}, {"HiHat", hihat}, {"Tom", tom}, {"Clap", clap}}},
        {"Bells",
         {{"Ding", ding},
          {"Chime", chime},
          {"Glock", glock},
          {"Triangle", triangle},
          {"Tingsha", tingsha}}},
        {"Voices", {{"Ah", ah}, {"Eh", eh}, {"Ee", ee}, {"Oh", oh}, {"Oo", oo}}},
        {"Synth",
         {{"Blip", blip},
          {"Pad", pad},
          {"Sweep", sweep},
          {"Zap", zap},
          {"Pluck", pluck},
          {"Arpeggio", arpeggio}}},
    };
    return sets;
}

}  // namespace tiltophon::soundgen
