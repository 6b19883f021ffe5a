// The page around the game: the query's options, loading, the first screen, the buttons, the
// end of a run, and what a traced replay hands back.
(function () {
  'use strict';
  var params = new URLSearchParams(window.location.search);
  var trace = params.get('trace') === '1';
  var $ = function (id) { return document.getElementById(id); };
  var canvas = $('canvas');
  var started = false;   // the game's main has run
  var gestured = false;  // a key, click or touch has let sound play

  function show(id, on) { $(id).classList.toggle('hidden', !on); }

  function say(text) {
    $('message-text').textContent = text;
    show('message', true);
    show('loading', false);
    show('start', false);
  }

  function webglAvailable() {
    try {
      var probe = document.createElement('canvas');
      return !!(window.WebGLRenderingContext &&
                (probe.getContext('webgl') || probe.getContext('experimental-webgl')));
    } catch (e) {
      return false;
    }
  }

  function stamp() {
    var d = new Date(), two = function (n) { return (n < 10 ? '0' : '') + n; };
    return '' + d.getFullYear() + two(d.getMonth() + 1) + two(d.getDate()) + '-' +
      two(d.getHours()) + two(d.getMinutes()) + two(d.getSeconds());
  }

  function download(bytes, name, type) {
    var url = URL.createObjectURL(new Blob([bytes], {type: type}));
    var link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(url); }, 10000);
  }

  // The runner's options that the query stands for, after the mode.
  var args = [trace ? 'trace' : 'play'];
  if (params.has('scene')) args.push('--scene', params.get('scene'));
  var ticksGiven = params.has('ticks');
  if (ticksGiven) args.push('--ticks', params.get('ticks'));
  params.getAll('snapshot').join(',').split(',').forEach(function (tick) {
    if (tick !== '') args.push('--snapshot', tick + ':/snap/' + tick + '.png');
  });
  if (trace) args.push('--trace', '/trace.jsonl');
  // &audio=1: a traced replay's sound as the runner's --audio writes it, in /audio.wav.
  if (trace && params.get('audio') === '1') args.push('--audio', '/audio.wav');
  window.tinselrunStats = {frames: [], ticks: 0, drawn: 0, clockStart: 0, firstFrameAt: 0,
                           sounds: [], audio: {buffers: 0, frames: 0, underruns: 0}};

  var Module = window.Module = {
    arguments: args,
    canvas: canvas,
    preRun: [],
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); },
    setStatus: function () {},
    monitorRunDependencies: function (left) {
      if (left === 0) show('loading', false);
    },
    showMessage: say,
    traceDone: function (text, status) {
      window.tinselrunStats.runEnd = performance.now();
      $('trace').textContent = text;
      document.title = status === 0 ? 'tinselrun: done' : 'tinselrun: failed';
    },
    gameEnded: function () { show('ended', true); },
    offerFile: function (path, name, type) {
      download(Module.FS.readFile(path), name, type);
    },
    noteFrame: function (ticks, drawn, clockStart, passMs) {
      var stats = window.tinselrunStats;
      if (!stats.firstFrameAt && drawn > 0) stats.firstFrameAt = performance.now();
      stats.ticks = ticks;
      stats.drawn = drawn;
      stats.clockStart = clockStart;
      stats.notedAt = performance.now();
      if (stats.frames.length < 100000) stats.frames.push(passMs);
    },
    onRuntimeInitialized: function () {
      started = true;
      window.tinselrunStats.runStart = performance.now();
    }
  };

  // The data package's progress, read from its own download.
  Module.setStatus = function (text) {
    var m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || '');
    if (m) $('progress').value = Number(m[1]) / Number(m[2]);
  };

  if (!webglAvailable()) {
      say('Tinselrun needs WebGL, which this browser does not offer or has turned off. ' +
        'Turn on hardware acceleration, or try another browser.');
    return;
  }

  // ?replay=URL: the recording is read before the game starts; its closing "# N ticks" line
  // gives the run's length unless &ticks says otherwise.
  var replay = params.get('replay');
  if (replay) {
    Module.preRun.push(function () {
      Module.addRunDependency('replay');
      fetch(replay).then(function (response) {
        if (!response.ok) throw new Error('HTTP ' + response.status);
        return response.text();
      }).then(function (text) {
        var name = replay.split(/[?#]/)[0].split('/').pop().replace(/[^\w.-]/g, '_') || 'replay.txt';
        Module.FS.writeFile(name, text);
        Module.arguments.push('--input', name);
        var closing = /^# (\d+) ticks\s*$/m.exec(text.split(/\r?\n/).filter(function (l) {
          return l.trim() !== '';
        }).pop() || '');
        if (!ticksGiven && closing) Module.arguments.push('--ticks', closing[1]);
        Module.removeRunDependency('replay');
      }).catch(function (error) {
        var line = 'tinselrun: cannot read ' + replay + ': ' + error.message;
        console.warn(line);
        say(line.replace(/^tinselrun: /, ''));
        if (trace) document.title = 'tinselrun: failed';
      });
    });
  }

  // Browsers let sound play only after a key, click or touch: the first screen waits for one.
  // A traced replay plays through on its own.
  function gesture() {
    if (!window.tinselrunStats.gestureAt) window.tinselrunStats.gestureAt = performance.now();
    if (!gestured) {
      gestured = true;
      show('start', false);
    }
    if (started && Module._tinselrun_gesture) Module._tinselrun_gesture();
  }
  if (!trace) {
    Module.postRun = [function () {
      window.tinselrunStats.readyAt = performance.now();
      if (!gestured) show('start', true);
      else gesture();
    }];
    ['keydown', 'mousedown', 'touchend', 'pointerup'].forEach(function (type) {
      window.addEventListener(type, gesture, true);
    });
  } else {
    $('trace').hidden = false;
  }

  // Keys go to the game wherever the page is embedded: a click puts the focus on the canvas.
  $('game').addEventListener('mousedown', function () { canvas.focus(); });
  // The right button steps back in the game's pause menu, not into the browser's own.
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  window.addEventListener('load', function () { canvas.focus(); });
  function refocus(fn) {
    return function () { fn(); canvas.focus(); };
  }

  $('fullscreen').addEventListener('click', refocus(function () {
    var area = $('game');
    if (document.fullscreenElement) document.exitFullscreen();
    else if (area.requestFullscreen) area.requestFullscreen().catch(function () {});
  }));
  $('screenshot').addEventListener('click', refocus(function () {
    if (started) Module._tinselrun_screenshot();
  }));
  $('save').addEventListener('click', refocus(function () {
    if (started) Module._tinselrun_save_recording();
  }));
  $('save').disabled = trace;
  // The data package first, then the game, in that order.
  ['tinselrun-data.js', 'tinselrun.js'].forEach(function (src) {
    var script = document.createElement('script');
    script.src = src;
    script.async = false;
    document.body.appendChild(script);
  });

  $('again').addEventListener('click', refocus(function () {
    show('ended', false);
    Module._tinselrun_restart();
  }));

  // The player's settings: shown as the game keeps them, changed here for the game to keep.
  function pushSettings() {
    if (!started) return;
    Module._tinselrun_set_settings(Number($('volume').value), $('mute').checked ? 1 : 0,
                                   $('pauseblur').checked ? 1 : 0);
  }
  ['volume', 'mute', 'pauseblur'].forEach(function (id) {
    $(id).addEventListener('change', refocus(pushSettings));
  });
  setInterval(function () {
    if (!started || !Module._tinselrun_settings) return;
    var s = Module._tinselrun_settings();
    if (s < 0) return;
    $('volume').value = s & 255;
    $('mute').checked = (s & 256) !== 0;
    $('pauseblur').checked = (s & 512) !== 0;
  }, 500);
})();
