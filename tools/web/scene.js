// The logo's scene as the exported page draws it, for any page that shows a
// logo3d .glb with the page's settings (the exported page, a studio):
// camera, lights in the eye's space, fog, background, the flat shadow that
// follows the motion, the motion itself. It knows nothing of the page's
// controls. Colours are the environment file's sRGB values, handed to
// three.js's colour management as sRGB, so that the .glb's linear colours
// and the page's lights meet as in any standard glTF viewer.

import * as THREE from 'three';

// The viewer's lights reach a white diffuse surface at full strength; three.js
// divides the light of a matt surface by pi.
const kLightScale = Math.PI;

export function srgb(rgb) {
    return new THREE.Color().setRGB(rgb[0], rgb[1], rgb[2], THREE.SRGBColorSpace);
}

export function makeCamera(view) {
    const camera = view.kind === 'perspective'
        ? new THREE.PerspectiveCamera(45, 1, view.near, view.far)
        : new THREE.OrthographicCamera(-1, 1, 1, -1, view.near, view.far);
    camera.position.set(0, 0, view.distance);
    camera.lookAt(0, 0, 0);
    return camera;
}

// Shows a window of width x height (metres, at the logo's distance) fitted
// into a page of pageWidth x pageHeight pixels.
export function frameCamera(camera, view, pageWidth, pageHeight, width = view.viewWidth, height = view.viewHeight) {
    const aspect = pageWidth / pageHeight;
    let w = width;
    let h = height;
    if (w / h < aspect) w = h * aspect;
    else h = w / aspect;
    if (camera.isPerspectiveCamera) {
        camera.fov = THREE.MathUtils.radToDeg(2 * Math.atan(h / 2 / view.distance));
        camera.aspect = aspect;
    } else {
        camera.left = -w / 2;
        camera.right = w / 2;
        camera.top = h / 2;
        camera.bottom = -h / 2;
    }
    camera.updateProjectionMatrix();
    return { width: w, height: h };
}

function srgbToLinear(c) {
    return c <= 0.04045 ? c / 12.92 : Math.pow((c + 0.055) / 1.055, 2.4);
}

// How much a light falls on a face turned to the eye, the logo at the origin
// and the camera, which holds the lights, `distance` in front of it.
function frontFacing(light, distance) {
    const p = new THREE.Vector3().fromArray(light.position);
    if (light.kind !== 'directional') p.z += distance;
    return Math.max(0, p.normalize().z);
}

// The viewer adds its lights in the screen's values, three.js in linear
// light, where the sum of two lights shows darker. Each channel of every
// light is scaled alike so that a face turned to the eye, in a mid tone,
// gets the light it gets in the viewer; other faces follow the physical
// falloff.
export function lightBalance(config) {
    const balance = [1, 1, 1];
    for (let c = 0; c < 3; ++c) {
        let screen = config.ambient[c];
        let linear = srgbToLinear(Math.min(config.ambient[c], 1));
        for (const light of config.lights) {
            const facing = frontFacing(light, config.camera.distance);
            screen += light.colour[c] * facing;
            linear += srgbToLinear(Math.min(light.colour[c], 1)) * facing;
        }
        const wanted = srgbToLinear(Math.min(0.5 * screen, 1)) / srgbToLinear(0.5);
        if (linear > 0) balance[c] = wanted / linear;
    }
    return balance;
}

// The lights sit in the eye's space, as in the viewer: children of the camera
// (or of a group the camera holds).
export function addLights(config, camera) {
    const balance = lightBalance(config);
    const balanced = (rgb) => {
        const c = srgb(rgb);
        return c.setRGB(c.r * balance[0], c.g * balance[1], c.b * balance[2]);
    };
    camera.add(new THREE.AmbientLight(balanced(config.ambient), kLightScale));
    for (const light of config.lights) {
        let made;
        const colour = balanced(light.colour);
        if (light.kind === 'directional') {
            made = new THREE.DirectionalLight(colour, kLightScale);
        } else if (light.kind === 'spot') {
            made = new THREE.SpotLight(colour, kLightScale, 0, THREE.MathUtils.degToRad(light.angle), 0, light.decay);
        } else {
            made = new THREE.PointLight(colour, kLightScale, 0, light.decay);
        }
        made.position.fromArray(light.position);
        if (made.target) {
            made.target.position.fromArray(light.target);
            camera.add(made.target);
        }
        camera.add(made);
    }
}

export function addFog(config, scene) {
    const fog = config.fog;
    if (!fog) return;
    scene.fog = fog.kind === 'linear' ? new THREE.Fog(srgb(fog.colour), fog.near, fog.far)
                                      : new THREE.FogExp2(srgb(fog.colour), fog.density);
}

// The shadow is the logo flattened along the light onto the wall: the logo's
// meshes again, in the shadow's colour, under the flattening matrix times
// wherever the motion has put the logo.
export function makeShadow(shadow, logo) {
    const flatten = new THREE.Matrix4().fromArray(shadow.matrix);
    const material = new THREE.MeshBasicMaterial({
        color: srgb(shadow.colour),
        transparent: shadow.colour[3] < 1,
        opacity: shadow.colour[3],
    });
    const root = new THREE.Group();
    logo.traverse((part) => {
        if (!part.isMesh) return;
        const mesh = new THREE.Mesh(part.geometry, material);
        mesh.frustumCulled = false;  // its bounds are the unflattened logo's
        root.add(mesh);
    });
    root.matrixAutoUpdate = false;
    return {
        root,
        follow() {
            logo.updateMatrix();
            root.matrix.multiplyMatrices(flatten, logo.matrix);
            root.matrixWorldNeedsUpdate = true;
        },
    };
}

// Whether the clip ends where it starts, so that playing it again shows no jump.
export function motionReturns(clip) {
    for (const track of clip.tracks) {
        const n = track.getValueSize();
        const values = track.values;
        const last = values.length - n;
        for (let i = 0; i < n; ++i)
            if (Math.abs(values[i] - values[last + i]) > 1e-5) return false;
    }
    return true;
}

// Everything but the glTF: the scene with its background and fog, the camera
// with its lights, and `content`, the group the logo goes into, which the
// page turns. transparent: no background, so the host page shows through.
export function makeStage(config, { transparent = false } = {}) {
    const scene = new THREE.Scene();
    if (!transparent) scene.background = srgb(config.background);
    addFog(config, scene);
    const camera = makeCamera(config.camera);
    scene.add(camera);
    addLights(config, camera);
    const content = new THREE.Group();
    scene.add(content);
    return { scene, camera, content };
}

// Puts the loaded glTF into the stage with its shadow and returns the logo
// node, the shadow (or null) and the motion's clip (or null).
export function addLogo(stage, config, gltf) {
    stage.content.add(gltf.scene);
    const logo = gltf.scene.getObjectByName('logo') || gltf.scene;
    const shadow = config.shadow ? makeShadow(config.shadow, logo) : null;
    if (shadow) stage.content.add(shadow.root);
    return { logo, shadow, clip: gltf.animations[0] || null };
}

// The box of the still logo in the content group's space.
export function logoBox(logo) {
    logo.updateWorldMatrix(true, true);
    return new THREE.Box3().setFromObject(logo, true);
}
