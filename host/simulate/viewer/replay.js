// The replay viewer: reads the run (the JSON in #run, described in docs/replay-page.md) and
// shows it in a 3D view and two projections, with playback controls. Everything lives in this
// function so that no name reaches the window's own (window.top, window.name, ...).
(function () {
  'use strict';

  const palette = ['#1f77b4', '#d62728', '#2ca02c', '#ff7f0e', '#9467bd', '#8c564b', '#e377c2',
    '#17becf', '#bcbd22', '#7f7f7f'];
  const kindNames = ['floor', 'ceiling', 'wall', 'mesh'];
  const faceColours = { floor: '#b9c4b0', ceiling: '#b7c7dc', wall: '#d6c4a4', mesh: '#9fbad6' };
  const $ = (id) => document.getElementById(id);

  let run;
  try {
    run = JSON.parse($('run').textContent);
  } catch (error) {
    document.body.innerHTML = '<p class="error">The run data of this page cannot be read: ' +
      String(error.message).replace(/</g, '&lt;') + '</p>';
    return;
  }
  const bodies = run.bodies || [];
  const frames = run.frames || [];
  const scenery = (run.scenery || []).map((face) => ({
    kind: typeof face.kind === 'number' ? kindNames[face.kind] : face.kind,
    corners: face.corners,
    facing: face.facing || windingNormal(face.corners),
  }));
  const lengthUnit = run.lengthUnit || 'm';
  const timeUnit = run.timeUnit || 's';
  if (frames.length === 0) {
    document.body.insertAdjacentHTML('beforeend', '<p class="error">The run has no frames.</p>');
    return;
  }
  const colourOf = (index) => palette[index % palette.length];

  // ---- small vector helpers on [x, y, z] arrays ----
  function sub(a, b) { return [a[0] - b[0], a[1] - b[1], a[2] - b[2]]; }
  function cross(a, b) { return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]; }
  function dot(a, b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
  function length(a) { return Math.sqrt(dot(a, a)); }
  function windingNormal(corners) {
    const n = cross(sub(corners[1], corners[0]), sub(corners[2], corners[0]));
    const l = length(n) || 1;
    return [n[0] / l, n[1] / l, n[2] / l];
  }
  const finite = (v) => v.every(Number.isFinite);
  const state = (frame, body) => frames[frame].states[body];
  const position = (frame, body) => state(frame, body).slice(0, 3);

  // How far a body reaches from its position, for bounds and for picking in the projections.
  function reach(body) {
    const shape = body.shape || {};
    if (shape.kind === 'sphere') return shape.radius;
    if (shape.kind === 'capsule') return shape.radius + shape.height / 2;
    if (shape.kind === 'mesh') {
      let most = 0;
      for (const triangle of shape.triangles) for (const corner of triangle) most = Math.max(most, length(corner));
      return most;
    }
    return 0;
  }

  // ---- the extent of the run: every finite body position and every scenery corner ----
  const low = [Infinity, Infinity, Infinity];
  const high = [-Infinity, -Infinity, -Infinity];
  function include(point, margin) {
    if (!finite(point)) return;
    for (let i = 0; i < 3; ++i) {
      low[i] = Math.min(low[i], point[i] - margin);
      high[i] = Math.max(high[i], point[i] + margin);
    }
  }
  for (const face of scenery) for (const corner of face.corners) include(corner, 0);
  const reaches = bodies.map(reach);
  for (let b = 0; b < bodies.length; ++b) {
    const shape = bodies[b].shape || {};
    if (shape.kind !== 'mesh') {
      for (let f = 0; f < frames.length; ++f) include(position(f, b), reaches[b]);
      continue;
    }
    for (const f of [0, frames.length - 1]) {
      const s = state(f, b);
      if (!finite(s)) continue;
      for (const triangle of shape.triangles)
        for (const corner of triangle) {
          const r = rotate(corner, s);
          include([s[0] + r[0], s[1] + r[1], s[2] + r[2]], 0);
        }
    }
    for (let f = 0; f < frames.length; ++f) include(position(f, b), 0);
  }
  // Where a body's label goes, from its position: above its top (a mesh: above its corners' middle).
  const labelAnchors = bodies.map((body, b) => {
    const shape = body.shape || {};
    if (shape.kind !== 'mesh') return [0, reaches[b], 0];
    const sum = [0, 0, 0];
    let top = 0, count = 0;
    for (const triangle of shape.triangles)
      for (const corner of triangle) {
        for (let i = 0; i < 3; ++i) sum[i] += corner[i];
        top = Math.max(top, corner[1]);
        ++count;
      }
    return count ? [sum[0] / count, top, sum[2] / count] : [0, 0, 0];
  });
  if (run.viewVolume && scenery.length === 0) for (const corner of run.viewVolume) include(corner, 0);
  if (!(low[0] <= high[0])) { low.fill(-1); high.fill(1); }
  for (let i = 0; i < 3; ++i) if (high[i] - low[i] < 1e-9) { low[i] -= 0.5; high[i] += 0.5; }
  const centre = [0, 1, 2].map((i) => (low[i] + high[i]) / 2);
  const size = Math.max(high[0] - low[0], high[1] - low[1], high[2] - low[2]);

  // The speeds an arrow is drawn for: the largest speed of the run gets a fifth of the extent.
  let fastest = 0;
  for (const frame of frames)
    for (const s of frame.states) if (finite(s)) fastest = Math.max(fastest, length(s.slice(6, 9)));
  const arrowScale = fastest > 0 ? size / 5 / fastest : 0;

  // A round step for grids and ticks: 1, 2 or 5 times a power of ten, about `extent / count`.
  function niceStep(extent, count) {
    const raw = extent / count;
    const power = Math.pow(10, Math.floor(Math.log10(raw)));
    const m = raw / power;
    return (m < 1.5 ? 1 : m < 3.5 ? 2 : m < 7.5 ? 5 : 10) * power;
  }
  const formatNumber = (v, digits) => {
    if (!Number.isFinite(v)) return String(v);
    const text = Math.abs(v) >= 1e5 || (v !== 0 && Math.abs(v) < 1e-3) ? v.toExponential(3) : v.toFixed(digits);
    return text === '-0.000' || text === '-0.00' ? text.slice(1) : text;
  };
  // Enough decimals to tell multiples of a grid or tick step apart.
  const digitsOf = (step) => Math.max(0, Math.min(6, -Math.floor(Math.log10(step) + 1e-9)));
  const vectorText = (v) => '(' + v.map((x) => formatNumber(x, 3)).join(', ') + ')';

  // A step that crosses more than half of the extent is a wrap-around, not a movement.
  function isJump(a, b) {
    if (!finite(a) || !finite(b)) return true;
    for (let i = 0; i < 3; ++i) if (Math.abs(b[i] - a[i]) > (high[i] - low[i]) / 2 + 1e-9) return true;
    return false;
  }

  // ---- the page's state, read from and written to the address ----
  const view = { frame: 0, playing: false, speed: 1, trails: true, velocity: false, contacts: false,
    labels: true, selected: -1 };
  const toggles = ['trails', 'velocity', 'contacts', 'labels'];
  function frameOfStep(step) {
    let best = 0;
    for (let f = 0; f < frames.length; ++f) if ((frames[f].step ?? f) <= step) best = f;
    return best;
  }
  function readAddress() {
    const fields = new URLSearchParams(location.hash.slice(1));
    if (fields.has('step')) view.frame = frameOfStep(Number(fields.get('step')) || 0);
    for (const name of toggles) if (fields.has(name)) view[name] = fields.get(name) === '1';
    if (fields.has('speed')) view.speed = Math.min(10, Math.max(0.1, Number(fields.get('speed')) || 1));
    if (fields.has('body')) view.selected = bodies.findIndex((b) => b.name === fields.get('body'));
  }
  let addressWritten = '';
  function writeAddress() {
    const fields = new URLSearchParams();
    fields.set('step', String(frames[view.frame].step ?? view.frame));
    for (const name of toggles) fields.set(name, view[name] ? '1' : '0');
    if (view.speed !== 1) fields.set('speed', String(view.speed));
    if (view.selected >= 0) fields.set('body', bodies[view.selected].name);
    const hash = '#' + fields.toString();
    if (hash === addressWritten || hash === location.hash) return;
    addressWritten = hash;
    try {
      history.replaceState(null, '', hash);
    } catch (error) {
      // Some browsers refuse to change the address of a file: page; the page works without it.
    }
  }

  // ---- the 3D view ----
  const scene3d = { ready: false };
  function build3d() {
    if (typeof THREE === 'undefined') return;
    const canvas = $('view3d');
    let renderer;
    try {
      renderer = new THREE.WebGLRenderer({ canvas, antialias: true, alpha: true, preserveDrawingBuffer: true });
    } catch (error) {
      $('hint').textContent = 'This browser cannot draw 3D (WebGL): the projections still show the run.';
      return;
    }
    renderer.setPixelRatio(window.devicePixelRatio || 1);
    renderer.setClearColor(0x000000, 0);
    const scene = new THREE.Scene();
    const camera = new THREE.PerspectiveCamera(40, 1, size / 1000, size * 100);
    scene.add(new THREE.HemisphereLight(0xffffff, 0x8a8f99, 0.75));
    const sun = new THREE.DirectionalLight(0xffffff, 0.55);
    sun.position.set(0.4, 1, 0.7);
    scene.add(sun);

    // Ground grid below everything, and axes from the origin, with their units on the overlay.
    const step = niceStep(Math.max(high[0] - low[0], high[2] - low[2]), 12);
    const gridY = low[1] - size * 0.002;
    const half = Math.max(high[0] - low[0], high[2] - low[2]) / 2 + step;
    const gx0 = Math.floor((centre[0] - half) / step) * step, gx1 = Math.ceil((centre[0] + half) / step) * step;
    const gz0 = Math.floor((centre[2] - half) / step) * step, gz1 = Math.ceil((centre[2] + half) / step) * step;
    const gridPoints = [];
    for (let x = gx0; x <= gx1 + step / 2; x += step) gridPoints.push(x, gridY, gz0, x, gridY, gz1);
    for (let z = gz0; z <= gz1 + step / 2; z += step) gridPoints.push(gx0, gridY, z, gx1, gridY, z);
    scene.add(lines(gridPoints, 0xc3c9d2));
    const axisLength = step * 2;
    const axisColours = [0xd62728, 0x2ca02c, 0x1f77b4];
    for (let i = 0; i < 3; ++i) {
      const direction = new THREE.Vector3(i === 0 ? 1 : 0, i === 1 ? 1 : 0, i === 2 ? 1 : 0);
      scene.add(new THREE.ArrowHelper(direction, new THREE.Vector3(0, 0, 0), axisLength, axisColours[i],
        axisLength * 0.12, axisLength * 0.06));
    }

    // Scenery: each face's facing side solid, its back faint, and its outline.
    const fronts = {}, backs = {};
    const outline = [];
    for (const face of scenery) {
      const corners = face.corners;
      let order = corners.map((_, i) => i);
      if (dot(windingNormal(corners), face.facing) < 0) order.reverse();
      const target = fronts[face.kind] || (fronts[face.kind] = []);
      const back = backs[face.kind] || (backs[face.kind] = []);
      for (let i = 1; i + 1 < order.length; ++i)
        for (const c of [order[0], order[i], order[i + 1]]) { target.push(...corners[c]); back.push(...corners[c]); }
      for (let i = 0; i < corners.length; ++i) outline.push(...corners[i], ...corners[(i + 1) % corners.length]);
    }
    for (const kind of Object.keys(fronts)) {
      const colour = new THREE.Color(faceColours[kind] || '#bbbbbb');
      scene.add(surface(fronts[kind], new THREE.MeshLambertMaterial({ color: colour, side: THREE.FrontSide,
        polygonOffset: true, polygonOffsetFactor: 1, polygonOffsetUnits: 1 })));
      scene.add(surface(backs[kind], new THREE.MeshBasicMaterial({ color: colour, side: THREE.BackSide,
        transparent: true, opacity: 0.18, depthWrite: false })));
    }
    if (outline.length) scene.add(lines(outline, 0x6f7885, 0.55));

    // The camera's view volume, where bodies wrap around.
    if (run.viewVolume && run.viewVolume.length === 8) {
      const v = run.viewVolume, edges = [0, 1, 1, 2, 2, 3, 3, 0, 4, 5, 5, 6, 6, 7, 7, 4, 0, 4, 1, 5, 2, 6, 3, 7];
      const points = [];
      for (const e of edges) points.push(...v[e]);
      const volume = new THREE.LineSegments(geometryOf(points),
        new THREE.LineDashedMaterial({ color: 0x9467bd, dashSize: size / 60, gapSize: size / 90 }));
      volume.computeLineDistances();
      scene.add(volume);
    }

    // Bodies: shapes to scale in their own frame, turned by the body's rotation.
    const bodyGroups = bodies.map((body, index) => {
      const group = new THREE.Group();
      const colour = new THREE.Color(colourOf(index));
      const material = new THREE.MeshLambertMaterial({ color: colour });
      const dark = new THREE.MeshLambertMaterial({ color: colour.clone().multiplyScalar(0.55) });
      const shape = body.shape || {};
      const parts = [];
      if (shape.kind === 'sphere') {
        parts.push(new THREE.Mesh(new THREE.SphereGeometry(shape.radius, 32, 20), material));
        // Two rings, so that the body's turning shows.
        for (const axis of ['x', 'y']) {
          const ring = new THREE.Mesh(new THREE.TorusGeometry(shape.radius * 1.005, shape.radius * 0.05, 6, 40), dark);
          ring.rotation[axis] = Math.PI / 2;
          parts.push(ring);
        }
      } else if (shape.kind === 'capsule') {
        const holder = new THREE.Group();
        holder.add(new THREE.Mesh(new THREE.CylinderGeometry(shape.radius, shape.radius, shape.height, 28, 1, true), material));
        for (const end of [-1, 1]) {
          const cap = new THREE.Mesh(new THREE.SphereGeometry(shape.radius, 28, 14), material);
          cap.position.y = end * shape.height / 2;
          holder.add(cap);
        }
        const band = new THREE.Mesh(new THREE.TorusGeometry(shape.radius * 1.005, shape.radius * 0.06, 6, 40), dark);
        band.rotation.x = Math.PI / 2;
        band.position.y = shape.height / 4;
        holder.add(band);
        const axis = new THREE.Vector3(...(shape.axis || [0, 1, 0])).normalize();
        holder.quaternion.setFromUnitVectors(new THREE.Vector3(0, 1, 0), axis);
        parts.push(holder);
      } else if (shape.kind === 'mesh') {
        const points = [];
        for (const triangle of shape.triangles) for (const corner of triangle) points.push(...corner);
        material.side = THREE.DoubleSide;
        parts.push(surface(points, material));
      } else {
        parts.push(new THREE.Mesh(new THREE.OctahedronGeometry(size / 150), material));
      }
      for (const part of parts) {
        group.add(part);
        part.traverse((object) => { object.userData.body = index; });
      }
      group.userData.material = material;
      scene.add(group);
      return group;
    });

    // Trails: one segment per frame from the frame before it, degenerate across wrap-arounds,
    // so that showing the trail up to frame f is drawing its first 2f points.
    const trails = bodies.map((body, index) => {
      const points = new Float32Array(Math.max(1, frames.length - 1) * 6);
      for (let f = 1; f < frames.length; ++f) {
        const a = position(f - 1, index), b = position(f, index);
        const from = isJump(a, b) ? b : a;
        points.set(finite(b) ? [...from, ...b] : [0, 0, 0, 0, 0, 0], (f - 1) * 6);
      }
      const geometry = new THREE.BufferGeometry();
      geometry.setAttribute('position', new THREE.BufferAttribute(points, 3));
      const trail = new THREE.LineSegments(geometry, new THREE.LineBasicMaterial({ color: colourOf(index),
        transparent: true, opacity: 0.7 }));
      trail.frustumCulled = false;
      scene.add(trail);
      return trail;
    });

    const arrows = bodies.map((body, index) => {
      const arrow = new THREE.ArrowHelper(new THREE.Vector3(1, 0, 0), new THREE.Vector3(), 1,
        new THREE.Color(colourOf(index)).multiplyScalar(0.7).getHex());
      scene.add(arrow);
      return arrow;
    });

    // Contacts: a pool of points and normals, filled for the frame shown.
    const contactGroup = new THREE.Group();
    scene.add(contactGroup);
    const contactDot = new THREE.SphereGeometry(size / 110, 12, 8);
    const contactMaterial = new THREE.MeshBasicMaterial({ color: 0xe8001c, depthTest: false });
    const contactPool = [];
    function contactMarker(i) {
      while (contactPool.length <= i) {
        const dotMesh = new THREE.Mesh(contactDot, contactMaterial);
        dotMesh.renderOrder = 2;
        const normal = new THREE.ArrowHelper(new THREE.Vector3(0, 1, 0), new THREE.Vector3(), size / 10, 0xe8001c,
          size / 45, size / 90);
        // Drawn over the bodies: a contact lies inside the shapes that touch.
        for (const part of [normal.line, normal.cone]) {
          part.material.depthTest = false;
          part.renderOrder = 2;
        }
        contactGroup.add(dotMesh, normal);
        contactPool.push({ dot: dotMesh, normal });
      }
      return contactPool[i];
    }

    // Orbit, pan and zoom about a target point.
    const orbit = { target: new THREE.Vector3(...centre), distance: size * 2.2, yaw: 0.55, pitch: 0.45 };
    function placeCamera() {
      const c = Math.cos(orbit.pitch);
      camera.position.set(orbit.target.x + orbit.distance * c * Math.sin(orbit.yaw),
        orbit.target.y + orbit.distance * Math.sin(orbit.pitch),
        orbit.target.z + orbit.distance * c * Math.cos(orbit.yaw));
      camera.lookAt(orbit.target);
    }
    let drag = null;
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    canvas.addEventListener('pointerdown', (event) => {
      drag = { x: event.clientX, y: event.clientY, moved: false, pan: event.button === 2 || event.shiftKey };
      canvas.setPointerCapture(event.pointerId);
      canvas.style.cursor = 'grabbing';
    });
    canvas.addEventListener('pointermove', (event) => {
      if (!drag) return;
      const dx = event.clientX - drag.x, dy = event.clientY - drag.y;
      if (Math.abs(dx) + Math.abs(dy) > 2) drag.moved = true;
      drag.x = event.clientX;
      drag.y = event.clientY;
      if (drag.pan) {
        const scale = orbit.distance * 2 * Math.tan(camera.fov * Math.PI / 360) / canvas.clientHeight;
        const right = new THREE.Vector3().setFromMatrixColumn(camera.matrixWorld, 0);
        const up = new THREE.Vector3().setFromMatrixColumn(camera.matrixWorld, 1);
        orbit.target.addScaledVector(right, -dx * scale).addScaledVector(up, dy * scale);
      } else {
        orbit.yaw -= dx * 0.008;
        orbit.pitch = Math.max(-1.5, Math.min(1.5, orbit.pitch + dy * 0.008));
      }
      requestDraw();
    });
    canvas.addEventListener('pointerup', (event) => {
      canvas.style.cursor = '';
      if (drag && !drag.moved) select(pick(event.clientX, event.clientY));
      drag = null;
    });
    canvas.addEventListener('wheel', (event) => {
      event.preventDefault();
      orbit.distance = Math.max(size / 50, Math.min(size * 50, orbit.distance * Math.exp(event.deltaY * 0.001)));
      requestDraw();
    }, { passive: false });

    const raycaster = new THREE.Raycaster();
    function pick(clientX, clientY) {
      const box = canvas.getBoundingClientRect();
      raycaster.setFromCamera(new THREE.Vector2((clientX - box.left) / box.width * 2 - 1,
        -(clientY - box.top) / box.height * 2 + 1), camera);
      const hits = raycaster.intersectObjects(bodyGroups.filter((g) => g.visible), true);
      return hits.length ? hits[0].object.userData.body : -1;
    }

    function resize() {
      const width = canvas.clientWidth, height = canvas.clientHeight;
      if (!width || !height) return;
      renderer.setSize(width, height, false);
      const overlay = $('overlay');
      const ratio = window.devicePixelRatio || 1;
      overlay.width = width * ratio;
      overlay.height = height * ratio;
      camera.aspect = width / height;
      camera.updateProjectionMatrix();
    }

    // Where a world point lands on the canvas, in CSS pixels; null behind the camera.
    function project(point) {
      const v = new THREE.Vector3(...point).project(camera);
      if (v.z > 1) return null;
      return [(v.x + 1) / 2 * canvas.clientWidth, (1 - v.y) / 2 * canvas.clientHeight];
    }

    function update(frame) {
      const current = frames[frame];
      bodies.forEach((body, b) => {
        const s = current.states[b];
        const group = bodyGroups[b];
        group.visible = finite(s);
        if (!group.visible) return;
        group.position.set(s[0], s[1], s[2]);
        group.rotation.set(s[3], s[4], s[5], 'ZYX');
        trails[b].visible = view.trails;
        trails[b].geometry.setDrawRange(0, frame * 2);
        const speed = length(s.slice(6, 9));
        arrows[b].visible = view.velocity && speed * arrowScale > size / 500;
        if (arrows[b].visible) {
          arrows[b].position.set(s[0], s[1], s[2]);
          arrows[b].setDirection(new THREE.Vector3(s[6], s[7], s[8]).normalize());
          const l = speed * arrowScale + reaches[b];
          arrows[b].setLength(l, Math.min(l * 0.3, size / 40), Math.min(l * 0.15, size / 80));
        }
        group.userData.material.emissive.setHex(b === view.selected ? 0x3a3a3a : 0);
      });
      const contacts = view.contacts ? current.contacts || [] : [];
      contactPool.forEach((marker) => { marker.dot.visible = marker.normal.visible = false; });
      contacts.forEach((contact, i) => {
        const marker = contactMarker(i);
        marker.dot.visible = marker.normal.visible = true;
        marker.dot.position.set(...contact.point);
        marker.normal.position.set(...contact.point);
        marker.normal.setDirection(new THREE.Vector3(...contact.normal).normalize());
      });
      scene3d.contactsDrawn = contacts.length;
    }

    function drawOverlay() {
      const overlay = $('overlay');
      const context = overlay.getContext('2d');
      const ratio = window.devicePixelRatio || 1;
      context.setTransform(ratio, 0, 0, ratio, 0, 0);
      context.clearRect(0, 0, overlay.width, overlay.height);
      context.font = '12px system-ui, sans-serif';
      context.textBaseline = 'middle';
      // Axis names and the grid's unit.
      const names = ['x', 'y', 'z'];
      for (let i = 0; i < 3; ++i) {
        const tip = [0, 0, 0];
        tip[i] = axisLength * 1.12;
        const at = project(tip);
        if (!at) continue;
        context.fillStyle = '#' + axisColours[i].toString(16).padStart(6, '0');
        context.fillText(names[i], at[0] - 3, at[1]);
      }
      context.fillStyle = '#5a6473';
      for (const k of [1, 5]) {
        const at = project([k * step, gridY, 0]);
        if (at) context.fillText(formatNumber(k * step, digitsOf(step)) + ' ' + lengthUnit, at[0] + 3, at[1] + 9);
      }
      context.fillText('grid: ' + formatNumber(step, digitsOf(step)) + ' ' + lengthUnit +
        (view.velocity && arrowScale ? ' · arrow: 1 ' + lengthUnit + ' = ' +
        formatNumber(1 / arrowScale, 2) + ' ' + lengthUnit + '/' + timeUnit : ''), 8, 14);
      if (!view.labels && view.selected < 0) return;
      const current = frames[view.frame];
      context.font = '600 12px system-ui, sans-serif';
      bodies.forEach((body, b) => {
        if (!view.labels && b !== view.selected) return;
        const s = current.states[b];
        if (!finite(s)) return;
        const anchor = labelAnchors[b];
        const at = project([s[0] + anchor[0], s[1] + anchor[1], s[2] + anchor[2]]);
        if (!at) return;
        const text = body.name;
        const width = context.measureText(text).width;
        context.fillStyle = 'rgba(255, 255, 255, 0.8)';
        context.fillRect(at[0] - width / 2 - 3, at[1] - 17, width + 6, 15);
        context.fillStyle = b === view.selected ? '#000' : colourOf(b);
        context.fillText(text, at[0] - width / 2, at[1] - 9);
      });
    }

    Object.assign(scene3d, {
      ready: true, renderer, scene, camera, bodyGroups, project, update, contactsDrawn: 0,
      draw() {
        resize();
        placeCamera();
        scene.updateMatrixWorld();
        renderer.render(scene, camera);
        drawOverlay();
      },
    });
    window.addEventListener('resize', requestDraw);
  }

  function geometryOf(points) {
    const geometry = new THREE.BufferGeometry();
    geometry.setAttribute('position', new THREE.Float32BufferAttribute(points, 3));
    return geometry;
  }
  function lines(points, colour, opacity) {
    return new THREE.LineSegments(geometryOf(points), new THREE.LineBasicMaterial({ color: colour,
      transparent: opacity !== undefined, opacity: opacity === undefined ? 1 : opacity }));
  }
  function surface(points, material) {
    const geometry = geometryOf(points);
    geometry.computeVertexNormals();
    return new THREE.Mesh(geometry, material);
  }

  // ---- the two projections ----
  function Projection(canvasId, axes) {
    const canvas = $(canvasId);
    const context = canvas.getContext('2d');
    const ratio = window.devicePixelRatio || 1;
    const cssWidth = canvas.width, cssHeight = canvas.height;
    canvas.width = cssWidth * ratio;
    canvas.height = cssHeight * ratio;
    const [u, v] = axes;
    const flipV = v === 1; // y runs up, z runs down the page
    const margin = { left: 40, right: 10, top: 22, bottom: 26 };
    const spanU = high[u] - low[u], spanV = high[v] - low[v];
    const scale = Math.min((cssWidth - margin.left - margin.right) / spanU,
      (cssHeight - margin.top - margin.bottom) / spanV);
    const offsetU = margin.left + ((cssWidth - margin.left - margin.right) - spanU * scale) / 2;
    const offsetV = margin.top + ((cssHeight - margin.top - margin.bottom) - spanV * scale) / 2;
    const place = (p) => [offsetU + (p[u] - low[u]) * scale,
      flipV ? offsetV + (high[v] - p[v]) * scale : offsetV + (p[v] - low[v]) * scale];
    // Faces seen edge-on are drawn as lines; ceilings only from the side.
    const faces = scenery.filter((face) => v === 1 || face.kind !== 'ceiling').map((face) => {
      const points = face.corners.map(place);
      let area = 0;
      for (let i = 0; i < points.length; ++i) {
        const a = points[i], b = points[(i + 1) % points.length];
        area += a[0] * b[1] - b[0] * a[1];
      }
      return { kind: face.kind, points, edgeOn: Math.abs(area) < 0.5 };
    });
    const step = niceStep(Math.max(spanU, spanV), 6);
    const axisNames = ['x', 'y', 'z'];

    function drawAxes() {
      context.strokeStyle = '#e6e9ee';
      context.fillStyle = '#7a8494';
      context.lineWidth = 1;
      context.font = '10px system-ui, sans-serif';
      context.textAlign = 'center';
      for (let t = Math.ceil(low[u] / step) * step; t <= high[u] + 1e-9; t += step) {
        const [x] = place(u === 0 ? [t, 0, 0] : [0, t, 0]);
        context.beginPath(); context.moveTo(x, margin.top); context.lineTo(x, cssHeight - margin.bottom); context.stroke();
        context.fillText(formatNumber(t, digitsOf(step)), x, cssHeight - margin.bottom + 11);
      }
      context.textAlign = 'right';
      for (let t = Math.ceil(low[v] / step) * step; t <= high[v] + 1e-9; t += step) {
        const p = [0, 0, 0];
        p[v] = t;
        const y = place(p)[1];
        context.beginPath(); context.moveTo(margin.left, y); context.lineTo(cssWidth - margin.right, y); context.stroke();
        context.fillText(formatNumber(t, digitsOf(step)), margin.left - 4, y + 3);
      }
      context.textAlign = 'left';
      context.fillText(axisNames[u] + ' (' + lengthUnit + ') →', cssWidth - 70, cssHeight - 4);
      context.fillText(axisNames[v] + (flipV ? ' ↑' : ' ↓'), 6, 12);
    }

    function outline(points) {
      context.beginPath();
      points.forEach((p, i) => (i ? context.lineTo(p[0], p[1]) : context.moveTo(p[0], p[1])));
    }

    // A body to scale at state s: spheres as circles, capsules as their outline, meshes as
    // their triangles.
    function drawBody(body, s, colour, selected) {
      const shape = body.shape || {};
      const centreAt = place(s);
      context.fillStyle = colour;
      context.strokeStyle = selected ? '#000' : 'rgba(0, 0, 0, 0.45)';
      context.lineWidth = selected ? 2 : 1;
      context.globalAlpha = 0.85;
      if (shape.kind === 'sphere' || !shape.kind || shape.kind === 'none') {
        context.beginPath();
        context.arc(centreAt[0], centreAt[1], Math.max(2.5, (shape.radius || 0) * scale), 0, 2 * Math.PI);
        context.fill(); context.stroke();
      } else if (shape.kind === 'capsule') {
        const axis = rotate(shape.axis || [0, 1, 0], s);
        const h = shape.height / 2;
        const a = place([s[0] - axis[0] * h, s[1] - axis[1] * h, s[2] - axis[2] * h]);
        const b = place([s[0] + axis[0] * h, s[1] + axis[1] * h, s[2] + axis[2] * h]);
        context.lineCap = 'round';
        context.lineWidth = Math.max(5, 2 * shape.radius * scale);
        context.strokeStyle = colour;
        context.beginPath(); context.moveTo(...a); context.lineTo(...b); context.stroke();
        context.lineCap = 'butt';
      } else if (shape.kind === 'mesh') {
        // Faint: a mesh body is often the ground the others move on.
        context.globalAlpha = 0.4;
        for (const triangle of shape.triangles) {
          outline(triangle.map((corner) => {
            const r = rotate(corner, s);
            return place([s[0] + r[0], s[1] + r[1], s[2] + r[2]]);
          }));
          context.closePath(); context.fill(); context.stroke();
        }
      }
      context.globalAlpha = 1;
      context.lineWidth = 1;
    }

    function draw() {
      context.setTransform(ratio, 0, 0, ratio, 0, 0);
      context.clearRect(0, 0, cssWidth, cssHeight);
      drawAxes();
      for (const face of faces) {
        outline(face.points);
        context.closePath();
        if (!face.edgeOn && face.kind !== 'wall') {
          context.fillStyle = faceColours[face.kind];
          context.globalAlpha = face.kind === 'ceiling' ? 0.25 : 0.6;
          context.fill();
          context.globalAlpha = 1;
        }
        context.strokeStyle = face.edgeOn ? '#58606b' : 'rgba(88, 96, 107, 0.35)';
        context.lineWidth = face.edgeOn ? 1.5 : 1;
        context.stroke();
      }
      context.lineWidth = 1;
      if (run.viewVolume && run.viewVolume.length === 8) {
        const points = run.viewVolume.map(place);
        context.setLineDash([5, 4]);
        context.strokeStyle = '#9467bd';
        for (const [a, b] of [[0, 1], [1, 2], [2, 3], [3, 0], [4, 5], [5, 6], [6, 7], [7, 4], [0, 4], [1, 5], [2, 6], [3, 7]]) {
          context.beginPath(); context.moveTo(...points[a]); context.lineTo(...points[b]); context.stroke();
        }
        context.setLineDash([]);
      }
      const frame = view.frame;
      bodies.forEach((body, b) => {
        const colour = colourOf(b);
        if (view.trails) {
          context.strokeStyle = colour;
          context.globalAlpha = 0.7;
          context.beginPath();
          for (let f = 0; f <= frame; ++f) {
            const p = position(f, b);
            if (!finite(p)) continue;
            const at = place(p);
            if (f === 0 || isJump(position(f - 1, b), p)) context.moveTo(...at); else context.lineTo(...at);
          }
          context.stroke();
          context.globalAlpha = 1;
          const start = position(0, b);
          if (finite(start)) {
            const at = place(start);
            context.strokeStyle = colour;
            context.strokeRect(at[0] - 3, at[1] - 3, 6, 6);
          }
        }
        const s = state(frame, b);
        if (!finite(s)) return;
        drawBody(body, s, colour, b === view.selected);
        if (view.velocity && arrowScale) {
          const tip = place([s[0] + s[6] * arrowScale, s[1] + s[7] * arrowScale, s[2] + s[8] * arrowScale]);
          arrow(place(s), tip, '#333');
        }
        if (view.labels || b === view.selected) {
          context.font = (b === view.selected ? '600 ' : '') + '11px system-ui, sans-serif';
          context.fillStyle = b === view.selected ? '#000' : colour;
          const at = place(s), gap = Math.max(4, reaches[b] * scale) + 2;
          const width = context.measureText(body.name).width;
          const x = at[0] + gap + width > cssWidth ? at[0] - gap - width : at[0] + gap;
          context.fillText(body.name, x, at[1] - 4);
        }
      });
      if (view.contacts)
        for (const contact of frames[frame].contacts || []) {
          const at = place(contact.point);
          const n = contact.normal;
          const tip = place([contact.point[0] + n[0] * size / 12, contact.point[1] + n[1] * size / 12,
            contact.point[2] + n[2] * size / 12]);
          arrow(at, tip, '#e8001c');
          context.fillStyle = '#e8001c';
          context.beginPath(); context.arc(at[0], at[1], 3, 0, 2 * Math.PI); context.fill();
        }
      // Scale bar.
      const barLength = step * scale;
      context.strokeStyle = context.fillStyle = '#1d2430';
      context.lineWidth = 2;
      const bx = cssWidth - margin.right - barLength, by = 10;
      context.beginPath(); context.moveTo(bx, by); context.lineTo(bx + barLength, by); context.stroke();
      context.lineWidth = 1;
      context.font = '10px system-ui, sans-serif';
      context.textAlign = 'right';
      context.fillText(formatNumber(step, digitsOf(step)) + ' ' + lengthUnit, bx - 4, by + 4);
      context.textAlign = 'left';
    }

    function arrow(from, to, colour) {
      const dx = to[0] - from[0], dy = to[1] - from[1], l = Math.hypot(dx, dy);
      if (l < 2) return;
      context.strokeStyle = context.fillStyle = colour;
      context.beginPath(); context.moveTo(...from); context.lineTo(...to); context.stroke();
      const ux = dx / l, uy = dy / l, head = Math.min(7, l / 2);
      context.beginPath();
      context.moveTo(...to);
      context.lineTo(to[0] - ux * head - uy * head / 2, to[1] - uy * head + ux * head / 2);
      context.lineTo(to[0] - ux * head + uy * head / 2, to[1] - uy * head - ux * head / 2);
      context.fill();
    }

    canvas.addEventListener('click', (event) => {
      const box = canvas.getBoundingClientRect();
      const x = event.clientX - box.left, y = event.clientY - box.top;
      let best = -1, bestDistance = Infinity;
      bodies.forEach((body, b) => {
        const s = state(view.frame, b);
        if (!finite(s)) return;
        const at = place(s);
        const d = Math.hypot(at[0] - x, at[1] - y) - Math.max(4, reaches[b] * scale);
        if (d < 4 && d < bestDistance) { best = b; bestDistance = d; }
      });
      select(best);
    });
    return { draw };
  }

  // `point` in the body's frame turned by the rotation of state s (about x, then y, then z).
  function rotate(point, s) {
    let [x, y, z] = point;
    const [cx, sx, cy, sy, cz, sz] = [Math.cos(s[3]), Math.sin(s[3]), Math.cos(s[4]), Math.sin(s[4]),
      Math.cos(s[5]), Math.sin(s[5])];
    [y, z] = [y * cx - z * sx, y * sx + z * cx];
    [x, z] = [x * cy + z * sy, -x * sy + z * cy];
    [x, y] = [x * cz - y * sz, x * sz + y * cz];
    return [x, y, z];
  }

  // ---- the state of the selected body ----
  function showInfo() {
    const box = $('info');
    document.querySelectorAll('#legend li').forEach((li, b) => li.classList.toggle('selected', b === view.selected));
    if (view.selected < 0) { box.hidden = true; return; }
    const body = bodies[view.selected];
    const s = state(view.frame, view.selected);
    const shape = body.shape || {};
    const shapeText = shape.kind === 'sphere' ? 'sphere, radius ' + formatNumber(shape.radius, 3)
      : shape.kind === 'capsule' ? 'capsule, radius ' + formatNumber(shape.radius, 3) + ', height ' + formatNumber(shape.height, 3)
      : shape.kind === 'mesh' ? 'mesh, ' + shape.triangles.length + ' triangles' : 'no shape';
    const contacts = (frames[view.frame].contacts || []).filter((c) => c.a === body.name || c.b === body.name);
    const rows = [
      ['shape', shapeText],
      ['position', vectorText(s.slice(0, 3))],
      ['rotation', vectorText(s.slice(3, 6)) + ' rad'],
      ['speed', vectorText(s.slice(6, 9)) + ', |v| ' + formatNumber(length(s.slice(6, 9)), 3)],
      ['mass', body.infiniteMass ? 'infinite' : body.mass === undefined ? '–' : formatNumber(body.mass, 3)],
      ['restitution', body.restitution === undefined ? '–' : formatNumber(body.restitution, 3)],
      ['friction', body.friction === undefined ? '–' : formatNumber(body.friction, 3)],
      ['contacts', contacts.length ? contactLines(body.name, contacts) : 'none'],
    ];
    box.innerHTML = '<h2><span class="swatch" style="background:' + colourOf(view.selected) + '"></span><span id="infoName">' +
      escapeText(body.name) + '</span><button class="close" title="close">×</button></h2><table>' +
      rows.map(([k, v]) => '<tr><th>' + k + '</th><td>' + (k === 'contacts' ? v : escapeText(v)) + '</td></tr>').join('') +
      '</table>';
    box.querySelector('.close').onclick = () => select(-1);
    box.hidden = false;
  }
  // A body's contacts at a step, one line per other element (the passes of a step may report
  // the same pair again), with the deepest overlap.
  function contactLines(name, contacts) {
    const byOther = new Map();
    for (const c of contacts) {
      const other = c.a === name ? c.b : c.a;
      const seen = byOther.get(other) || { count: 0, depth: 0 };
      byOther.set(other, { count: seen.count + 1, depth: Math.max(seen.depth, c.depth) });
    }
    return [...byOther].slice(0, 8).map(([other, seen]) => escapeText(other) + ' (depth ' + formatNumber(seen.depth, 4) +
      (seen.count > 1 ? ', ' + seen.count + ' passes' : '') + ')').join('<br>') + (byOther.size > 8 ? '<br>…' : '');
  }
  function escapeText(text) {
    return String(text).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
  }

  // ---- controls ----
  const slider = $('slider');
  slider.max = String(frames.length - 1);
  const speedSlider = $('speed');
  function select(body) {
    view.selected = body;
    requestDraw();
  }
  function setFrame(frame) {
    view.frame = Math.max(0, Math.min(frames.length - 1, frame));
    requestDraw();
  }
  function setPlaying(playing) {
    view.playing = playing;
    $('play').textContent = playing ? 'Pause' : 'Play';
    if (playing) {
      if (view.frame >= frames.length - 1) view.frame = 0;
      playClock = frames[view.frame].time;
      lastTick = performance.now();
      requestAnimationFrame(tick);
    }
  }
  let playClock = 0, lastTick = 0;
  function tick(now) {
    if (!view.playing) return;
    playClock += (now - lastTick) / 1000 * view.speed;
    lastTick = now;
    let frame = view.frame;
    while (frame + 1 < frames.length && frames[frame + 1].time <= playClock) ++frame;
    if (frame !== view.frame) setFrame(frame);
    if (frame >= frames.length - 1) setPlaying(false);
    else requestAnimationFrame(tick);
  }
  $('play').onclick = () => setPlaying(!view.playing);
  $('back').onclick = () => { setPlaying(false); setFrame(view.frame - 1); };
  $('forward').onclick = () => { setPlaying(false); setFrame(view.frame + 1); };
  slider.oninput = () => { setFrame(Number(slider.value)); playClock = frames[view.frame].time; };
  speedSlider.oninput = () => { view.speed = Number(Math.pow(10, Number(speedSlider.value)).toPrecision(2)); requestDraw(); };
  for (const name of toggles) $(name).onchange = () => { view[name] = $(name).checked; requestDraw(); };
  document.addEventListener('keydown', (event) => {
    if (event.target.tagName === 'INPUT' && event.target.type !== 'checkbox') return;
    if (event.key === ' ') { event.preventDefault(); setPlaying(!view.playing); }
    else if (event.key === 'ArrowLeft') $('back').onclick();
    else if (event.key === 'ArrowRight') $('forward').onclick();
  });
  window.addEventListener('hashchange', () => { if (location.hash !== addressWritten) { readAddress(); requestDraw(); } });

  const legend = $('legend');
  bodies.forEach((body, b) => {
    const item = document.createElement('li');
    item.innerHTML = '<span class="swatch" style="background:' + colourOf(b) + '"></span>';
    item.append(body.name);
    item.title = body.name;
    item.onclick = () => select(view.selected === b ? -1 : b);
    legend.append(item);
  });

  const note = [];
  const last = frames[frames.length - 1];
  note.push(bodies.length + (bodies.length === 1 ? ' body, ' : ' bodies, ') + (run.steps ?? last.step ?? frames.length - 1) +
    ' steps' + (run.deltaT ? ' of ' + run.deltaT + ' ' + timeUnit : ''));
  if (run.decimatedFrom) note.push('decimated from ' + run.decimatedFrom + ' steps: ' + frames.length + ' frames shown');
  if (run.stopped) note.push('<span class="warning">' + escapeText(run.stopped) + '</span>');
  $('note').innerHTML = note.map((n) => n.startsWith('<') ? n : escapeText(n)).join(' · ');

  // ---- drawing, once per animation frame at most ----
  build3d();
  const side = Projection('side', [0, 1]);
  const overhead = Projection('top', [0, 2]);
  let drawPending = false;
  function requestDraw() {
    if (drawPending) return;
    drawPending = true;
    requestAnimationFrame(drawNow);
  }
  function drawNow() {
    drawPending = false;
    slider.value = String(view.frame);
    const current = frames[view.frame];
    $('clock').textContent = 'step ' + (current.step ?? view.frame) + ' · t = ' + formatNumber(current.time, 3) + ' ' + timeUnit;
    speedSlider.value = String(Math.log10(view.speed));
    $('speedText').textContent = view.speed + 'x';
    for (const name of toggles) $(name).checked = view[name];
    if (scene3d.ready) {
      scene3d.update(view.frame);
      scene3d.draw();
    }
    side.draw();
    overhead.draw();
    showInfo();
    writeAddress();
  }
  readAddress();
  drawNow();

  // For scripts that drive the page (the browser test): the frame shown, where a body is on
  // the 3D canvas, and what is drawn.
  window.replay = {
    frames: frames.length,
    frame: () => view.frame,
    setFrame: (frame) => { setFrame(frame); drawNow(); },
    bodyPoint: (body) => {
      if (!scene3d.ready) return null;
      const at = scene3d.project(position(view.frame, body));
      const box = $('view3d').getBoundingClientRect();
      return at && { x: box.left + at[0], y: box.top + at[1] };
    },
    selected: () => (view.selected >= 0 ? bodies[view.selected].name : null),
    contactsDrawn: () => (scene3d.ready ? scene3d.contactsDrawn : 0),
    webgl: scene3d.ready,
  };
})();
