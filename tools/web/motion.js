// The whole-logo motion: the glTF's clip played by three.js's AnimationMixer
// over `seconds`, once and held on its last frame, or in a loop when asked
// or when it ends where it starts (a glide in would jump back every loop).

import * as THREE from 'three';
import { motionReturns } from './scene.js';

export class Motion {
    constructor(root, clip, { seconds, loop = false }) {
        this.root = root;
        this.clip = clip;
        this.seconds = seconds;
        this.loops = loop || motionReturns(clip);
        this.mixer = null;
        this.playing = false;
        this.played = 0;          // seconds into this run
        this.playedSeconds = 0;   // seconds of every run
    }

    // From the start; nothing while it plays.
    play() {
        if (this.playing) return;
        this.mixer = this.mixer || new THREE.AnimationMixer(this.root);
        const action = this.mixer.clipAction(this.clip);
        action.reset();
        action.setLoop(this.loops ? THREE.LoopRepeat : THREE.LoopOnce, Infinity);
        action.clampWhenFinished = true;
        action.play();
        this.mixer.timeScale = this.clip.duration / this.seconds;
        this.playing = true;
        this.played = 0;
    }

    // Moves the logo on by `elapsed` seconds; true when it moved. A motion
    // played once ends on its last frame, however late the frame comes.
    advance(elapsed) {
        if (!this.playing) return false;
        const step = this.loops ? elapsed : Math.min(elapsed, this.seconds - this.played);
        this.mixer.update(step);
        this.played += step;
        this.playedSeconds += step;
        if (!this.loops && this.played >= this.seconds) this.playing = false;
        return true;
    }

    stop() {
        if (this.mixer) this.mixer.stopAllAction();
        this.playing = false;
    }
}
