// The screen: the program's pictures on the canvas, which sits where the
// player placed it in the stage; the title and the line under the screen;
// full screen; the message dialog; the handheld's buttons shown or put away.
/* global PellaxStart, PellaxStorage */
/* exported PellaxScreen */
var PellaxScreen = (function() {
  'use strict';
  var $ = function(id) {
    return document.getElementById(id);
  };
  var stage = $('stage'), canvas = $('screen'), context = canvas.getContext('2d');
  var picture = context.createImageData(canvas.width, canvas.height);

  function ratio() {
    return window.devicePixelRatio || 1;
  }
  // The player places the screen by device pixels: at a whole factor of
  // them every pixel of the handheld is a crisp square.
  function stageSize() {
    var box = stage.getBoundingClientRect();
    return [Math.round(box.width * ratio()), Math.round(box.height * ratio())];
  }
  var placed = '';
  function show(rgba, x, y, w, h) {
    var style = canvas.style, r = ratio(), place = [x, y, w, h, r].join();
    if (place !== placed) {
      placed = place;
      style.left = x / r + 'px';
      style.top = y / r + 'px';
      style.width = w / r + 'px';
      style.height = h / r + 'px';
      style.visibility = 'visible';
    }
    picture.data.set(rgba);
    context.putImageData(picture, 0, 0);
  }
  function title(text) {
    document.title = text;
    $('status').textContent = text;
  }
  // Browsers allow it only soon after a key or a tap; otherwise nothing
  // happens.
  function fullScreen(on) {
    var request = null;
    if (on && !document.fullscreenElement && stage.requestFullscreen) {
      request = stage.requestFullscreen();
    } else if (!on && document.fullscreenElement) {
      request = document.exitFullscreen();
    }
    if (request) request.catch(function() {});
  }
  function notice(text) {
    $('notice').textContent = text;
  }
  // The keys in effect, as the player has them, for the Keys button.
  function keys(text) {
    $('keys-text').textContent = text;
  }
  $('keys').addEventListener('click', function() {
    $('keys-list').showModal();
  });
  function message(text, caption, error, wakeUp) {
    PellaxStart.suspended();
    var dialog = $('message');
    $('message-caption').textContent = caption;
    $('message-text').textContent = text;
    dialog.classList.toggle('error', error);
    dialog.onclose = function() {
      PellaxStart.resume(wakeUp, 0);
    };
    dialog.showModal();
  }

  // The handheld's buttons under the screen, shown at first where the
  // device has touch; the player's choice is kept with the page's settings
  // once the stored folder is read (a choice an older page kept in
  // localStorage moves there).
  var OLD_KEY = 'pellax-rim-pad';
  function showPad(shown) {
    document.body.classList.toggle('with-pad', shown);
    $('pad-toggle').textContent = shown ? 'Hide buttons' : 'Show buttons';
  }
  $('pad-toggle').addEventListener('click', function() {
    var shown = !document.body.classList.contains('with-pad');
    showPad(shown);
    PellaxStorage.keep('pad', shown ? 'shown' : 'hidden');
  });
  function settingsRead() {
    var saved = PellaxStorage.setting('pad'), old = null;
    try {
      old = localStorage.getItem(OLD_KEY);
      localStorage.removeItem(OLD_KEY);
    } catch (e) {
    }
    if (!saved && old) PellaxStorage.keep('pad', (saved = old));
    if (saved) showPad(saved === 'shown');
  }
  var touch = navigator.maxTouchPoints > 0 || matchMedia('(any-pointer: coarse)').matches;
  showPad(touch);

  return {
    stageSize: stageSize,
    show: show,
    title: title,
    fullScreen: fullScreen,
    notice: notice,
    keys: keys,
    message: message,
    settingsRead: settingsRead,
  };
})();
