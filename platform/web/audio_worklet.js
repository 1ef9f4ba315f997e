// The game's sound on the browser's audio thread (served as skyring-audio.js): plays the
// blocks of 16-bit stereo samples that the game's mixer makes on the page (library_web.js),
// and asks for the next block while enough is still queued for the page's answer to come in
// time, even when the page's thread is busy for a while. What is queued is what is heard late:
// about 45 to 70 ms, beside the output's own.
const kBlockFrames = 1024;  // frames asked for at once, 23 ms at 44100 Hz
const kAheadFrames = 2048;  // more is asked for when fewer frames than this are queued or on the way

class SkyringOutput extends AudioWorkletProcessor {
  constructor() {
    super();
    this.blocks = [];  // Int16Array blocks, left and right interleaved
    this.played = 0;   // frames of blocks[0] played
    this.queued = 0;   // frames queued and not played
    this.asked = 0;    // frames asked for that have not come yet
    this.started = false;
    this.starved = 0;  // frames played silent for want of a block, since last told
    this.port.onmessage = (event) => {
      const frames = event.data.length / 2;
      this.asked -= frames;
      this.queued += frames;
      this.blocks.push(event.data);
      this.started = true;
    };
  }

  process(inputs, outputs) {
    const [left, right] = outputs[0];
    let at = 0;
    while (at < left.length && this.blocks.length > 0) {
      const block = this.blocks[0];
      const frames = Math.min(left.length - at, block.length / 2 - this.played);
      for (let i = 0, from = 2 * this.played; i < frames; ++i, from += 2) {
        left[at + i] = block[from] / 32768;
        right[at + i] = block[from + 1] / 32768;
      }
      at += frames;
      this.played += frames;
      this.queued -= frames;
      if (2 * this.played === block.length) {
        this.blocks.shift();
        this.played = 0;
      }
    }
    if (at < left.length) {
      left.fill(0, at);
      right.fill(0, at);
      if (this.started) this.starved += left.length - at;
    }
    if (this.queued + this.asked < kAheadFrames) {
      this.port.postMessage({frames: kBlockFrames, starved: this.starved});
      this.asked += kBlockFrames;
      this.starved = 0;
    }
    return true;
  }
}

registerProcessor('skyring-output', SkyringOutput);
