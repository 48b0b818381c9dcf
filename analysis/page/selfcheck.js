// The page's test of itself, run only when its address ends in #selfcheck (the browser test
// loads it so): it records errors, checks that every picture has decoded and that the view of
// the atoms has drawn, turns the view by a synthetic drag and moves the time slider, counts
// the pixels each changed, and writes what it found into the page as <pre id="selfcheck">.
"use strict";
(function () {
  if (location.hash !== "#selfcheck") return;
  const errors = [];
  window.addEventListener("error", (e) => {
    errors.push(e.message || "a resource failed: " + (e.target && e.target.tagName));
  }, true);

  // The canvas's pixels, read through a copy so that the view's own canvas is never read back.
  function pixels(canvas) {
    const copy = document.createElement("canvas");
    copy.width = canvas.width;
    copy.height = canvas.height;
    const context = copy.getContext("2d", { willReadFrequently: true });
    context.drawImage(canvas, 0, 0);
    return context.getImageData(0, 0, copy.width, copy.height).data;
  }
  function differing(a, b) {
    let n = 0;
    for (let i = 0; i < a.length; i += 4) {
      if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) n++;
    }
    return n;
  }
  function inked(p) {
    let n = 0;
    for (let i = 0; i < p.length; i += 4) if (p[i] + p[i + 1] + p[i + 2] < 3 * 240) n++;
    return n;
  }
  function drag(canvas, dx, dy) {
    const box = canvas.getBoundingClientRect();
    const x = box.left + box.width / 2, y = box.top + box.height / 2;
    const event = (type, at) => new PointerEvent(type, { bubbles: true, pointerId: 1,
      isPrimary: true, pointerType: "mouse", buttons: 1, clientX: at[0], clientY: at[1] });
    canvas.dispatchEvent(event("pointerdown", [x, y]));
    canvas.dispatchEvent(event("pointermove", [x + dx, y + dy]));
    canvas.dispatchEvent(event("pointerup", [x + dx, y + dy]));
  }

  window.addEventListener("load", () => {
    const lines = [];
    let passed = true;
    const check = (ok, text) => { lines.push((ok ? "ok " : "FAILED ") + text); passed &&= ok; };
    const images = Array.from(document.images);
    const decoded = images.filter((i) => i.complete && i.naturalWidth > 0).length;
    check(decoded === images.length, `images: ${decoded} of ${images.length} decoded`);
    const canvas = document.getElementById("viewer");
    if (canvas) {
      const start = pixels(canvas);
      check(inked(start) > 0.01 * start.length / 4, `canvas: ${inked(start)} pixels drawn`);
      drag(canvas, 60, 20);
      const turned = pixels(canvas);
      check(differing(start, turned) > 0, `drag: ${differing(start, turned)} pixels changed`);
      const slider = document.getElementById("frame");
      const before = document.getElementById("time").value;
      slider.value = slider.max;
      slider.dispatchEvent(new Event("input", { bubbles: true }));
      const moved = pixels(canvas), after = document.getElementById("time").value;
      check(differing(turned, moved) > 0 && before !== after,
            `slider: ${differing(turned, moved)} pixels changed, time ${before} to ${after}`);
    }
    check(errors.length === 0, "errors: " + (errors.join("; ") || "none"));
    const report = document.createElement("pre");
    report.id = "selfcheck";
    report.textContent = lines.join("\n") + "\nselfcheck " + (passed ? "passed" : "failed");
    document.body.append(report);
  });
})();
