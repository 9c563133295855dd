// A plain three.js page for the checks: loads logo.glb by URL with three.js's
// glTF loader under three.js's default colour management, with the exported
// page's camera and lights (config.json) and nothing else of the page.
import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { frameCamera, makeStage } from '../../tools/web/scene.js';

(async () => {
    const config = await (await fetch('config.json')).json();
    const renderer = new THREE.WebGLRenderer({ antialias: true });
    renderer.setSize(window.innerWidth, window.innerHeight);
    document.body.appendChild(renderer.domElement);
    const { scene, camera, content } = makeStage(config);
    frameCamera(camera, config.camera, window.innerWidth, window.innerHeight);
    const gltf = await new GLTFLoader().loadAsync('logo.glb');
    content.add(gltf.scene);
    renderer.render(scene, camera);
    requestAnimationFrame(() => { document.documentElement.dataset.ready = 'true'; });
})().catch((error) => { document.documentElement.dataset.ready = 'error: ' + error.message; });
