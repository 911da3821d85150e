// Sound: each wave the program hands over once (16-bit samples, decoded by
// the player) becomes a Web Audio buffer kept by its number; a new sound
// stops the one playing, as on the handheld. Loudness and pause are the
// player's.
/* global PellaxStart */
/* exported PellaxSound */
var PellaxSound = (function() {
  'use strict';
  var audio = null, gain = null, playing = null, buffers = new Map();
  var volume = 1, paused = false;

  function apply() {
    if (!audio) return;
    gain.gain.value = volume;
    if (paused) {
      audio.suspend();
    } else {
      audio.resume();
    }
  }
  // At the start gesture: before one the browser plays nothing.
  function begin() {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    audio = new Context();
    gain = audio.createGain();
    gain.connect(audio.destination);
    apply();
  }
  // A rate the browser cannot play leaves the wave silent.
  function toBuffer(samples, channels, rate) {
    var frames = Math.floor(samples.length / channels);
    try {
      var buffer = audio.createBuffer(channels, frames, rate);
      for (var c = 0; c < channels; ++c) {
        var out = buffer.getChannelData(c);
        for (var i = 0; i < frames; ++i) out[i] = samples[i * channels + c] / 32768;
      }
      return buffer;
    } catch (e) {
      return null;
    }
  }
  // Id 0 stops the sound; samples come with a wave's first cue only.
  function play(id, samples, channels, rate) {
    if (playing) playing.stop();
    playing = null;
    if (!audio || !id) return;
    if (samples) buffers.set(id, toBuffer(samples, channels, rate));
    var buffer = buffers.get(id);
    if (!buffer) return;
    playing = audio.createBufferSource();
    playing.buffer = buffer;
    playing.connect(gain);
    playing.start();
    ++PellaxStart.stats.sounds;
  }
  function set(newVolume, newPaused) {
    volume = newVolume;
    paused = newPaused;
    apply();
  }

  return { begin: begin, play: play, set: set };
})();
