// The interactive view of the atoms: the frames embedded in the page (#viewer-data), drawn on
// a canvas as spheres of the atoms' diameter, shaded by depth and painted back to front with
// the cell's twelve edges; turned by dragging (mouse, pen or finger), played and paused, and
// moved through time with a slider.
"use strict";
(function () {
  const source = document.getElementById("viewer-data");
  const canvas = document.getElementById("viewer");
  const context = canvas && canvas.getContext("2d");
  if (!source || !context) return;
  const data = JSON.parse(source.textContent);
  const positions = float32s(data.positions);
  const slider = document.getElementById("frame");
  const play = document.getElementById("play");
  const time = document.getElementById("time");
  slider.max = String(data.frames - 1);

  const FRAME_MS = 40;     // 25 frames a second when playing
  const TURN = 0.01;       // radians per pixel dragged
  const CAMERA = 3;        // the eye's distance in half-diagonals of the cell: mild perspective
  const ATOM = [48, 96, 192];
  const BACKGROUND = [255, 255, 255];
  const centre = data.edge.map((e) => e / 2);
  const halfDiagonal = Math.hypot(...centre);
  const camera = CAMERA * halfDiagonal;
  const view = { yaw: -0.6, pitch: 0.45, frame: 0, playing: false, last: 0, drag: null };

  // Little-endian 32-bit floats from base64.
  function float32s(text) {
    const bytes = Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
    const reader = new DataView(bytes.buffer);
    const values = new Float32Array(bytes.length / 4);
    for (let i = 0; i < values.length; i++) values[i] = reader.getFloat32(4 * i, true);
    return values;
  }

  // A point of the cell (Å) on the canvas: x, y in pixels, depth (Å, towards the viewer) and
  // the perspective scale. The cell's z axis points up before the view is turned.
  function project(p, scale) {
    const u = p[0] - centre[0], v = p[1] - centre[1], w = p[2] - centre[2];
    const cy = Math.cos(view.yaw), sy = Math.sin(view.yaw);
    const cp = Math.cos(view.pitch), sp = Math.sin(view.pitch);
    const across = u * cy - v * sy, away = u * sy + v * cy;
    const up = w * cp + away * sp, depth = w * sp - away * cp;
    const s = camera / (camera - depth);
    return { x: canvas.width / 2 + scale * s * across, y: canvas.height / 2 - scale * s * up,
             depth, s };
  }

  // A colour darkened by `factor` and faded towards the background by `fade` (0 to 1).
  function shade(rgb, factor, fade) {
    return "rgb(" + rgb.map((c, i) => Math.round((c * factor) * (1 - fade) +
                                                 BACKGROUND[i] * fade)).join(",") + ")";
  }

  // Lit from the upper left; the farther, the more faded (the depth cue).
  function sphere(a, radius) {
    const fade = 0.6 * (halfDiagonal - a.depth) / (2 * halfDiagonal);
    const g = context.createRadialGradient(a.x - radius / 3, a.y - radius / 3, radius / 10,
                                           a.x, a.y, radius);
    g.addColorStop(0, shade([200, 220, 255], 1, fade));
    g.addColorStop(0.55, shade(ATOM, 1, fade));
    g.addColorStop(1, shade(ATOM, 0.45, fade));
    context.fillStyle = g;
    context.beginPath();
    context.arc(a.x, a.y, radius, 0, 2 * Math.PI);
    context.fill();
  }

  function corner(c) {
    return [c & 1 ? data.edge[0] : 0, c & 2 ? data.edge[1] : 0, c & 4 ? data.edge[2] : 0];
  }

  function draw() {
    const radiusAtom = data.diameter / 2;
    // The cell and the atoms poking out of it fit the canvas whichever way it is turned: a
    // point at distance r from the centre lands at most r / sqrt(1 - (r / camera)²) from it.
    const r = halfDiagonal + radiusAtom;
    const reach = r / Math.sqrt(1 - (r / camera) ** 2);
    const scale = 0.48 * Math.min(canvas.width, canvas.height) / reach;
    const items = [];
    for (let c = 0; c < 8; c++) {
      for (const bit of [1, 2, 4]) {
        if (c & bit) continue;
        const a = project(corner(c), scale), b = project(corner(c | bit), scale);
        items.push({ depth: (a.depth + b.depth) / 2, paint: () => edge(a, b) });
      }
    }
    const first = view.frame * 3 * data.atoms;
    for (let i = 0; i < data.atoms; i++) {
      const at = first + 3 * i;
      const a = project([positions[at], positions[at + 1], positions[at + 2]], scale);
      items.push({ depth: a.depth, paint: () => sphere(a, radiusAtom * scale * a.s) });
    }
    context.fillStyle = shade(BACKGROUND, 1, 0);
    context.fillRect(0, 0, canvas.width, canvas.height);
    items.sort((p, q) => p.depth - q.depth).forEach((item) => item.paint());
    axisLabels(scale);
    time.value = (data.firstTime + view.frame * data.interval).toFixed(2) + " ps";
  }

  function edge(a, b) {
    context.strokeStyle = "#444";
    context.lineWidth = Math.max(1, canvas.width / 600);
    context.beginPath();
    context.moveTo(a.x, a.y);
    context.lineTo(b.x, b.y);
    context.stroke();
  }

  // x, y and z beside the far ends of the three edges from the origin.
  function axisLabels(scale) {
    context.fillStyle = "#222";
    context.font = Math.round(canvas.width / 32) + "px sans-serif";
    context.textAlign = "center";
    context.textBaseline = "middle";
    ["x", "y", "z"].forEach((name, axis) => {
      const end = [0, 0, 0];
      end[axis] = 1.12 * data.edge[axis];
      const p = project(end, scale);
      context.fillText(name, p.x, p.y);
    });
  }

  function showFrame(frame) {
    view.frame = frame;
    slider.value = String(frame);
    draw();
  }

  function tick(now) {
    if (!view.playing) return;
    if (now - view.last >= FRAME_MS) {
      view.last = now;
      showFrame((view.frame + 1) % data.frames);
    }
    requestAnimationFrame(tick);
  }

  function setPlaying(playing) {
    view.playing = playing;
    play.textContent = playing ? "Pause" : "Play";
    play.setAttribute("aria-pressed", String(playing));
    if (playing) requestAnimationFrame(tick);
  }

  // The canvas's pixels follow its size on the screen, at the screen's own resolution.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const side = Math.max(1, Math.round(canvas.clientWidth * ratio));
    if (canvas.width !== side || canvas.height !== side) {
      canvas.width = side;
      canvas.height = side;
    }
    draw();
  }

  canvas.addEventListener("pointerdown", (e) => {
    view.drag = { x: e.clientX, y: e.clientY };
    e.preventDefault();
  });
  window.addEventListener("pointermove", (e) => {
    if (!view.drag) return;
    view.yaw += TURN * (e.clientX - view.drag.x);
    view.pitch = Math.max(-Math.PI / 2, Math.min(Math.PI / 2,
                                                 view.pitch + TURN * (e.clientY - view.drag.y)));
    view.drag = { x: e.clientX, y: e.clientY };
    draw();
  });
  for (const type of ["pointerup", "pointercancel"]) {
    window.addEventListener(type, () => { view.drag = null; });
  }
  slider.addEventListener("input", () => showFrame(Number(slider.value)));
  play.addEventListener("click", () => setPlaying(!view.playing));
  window.addEventListener("resize", fit);
  setPlaying(false);
  fit();
})();
