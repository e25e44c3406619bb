function r = __bayesmex_replay__(seed, call, replay)
  % R = __bayesmex_replay__(SEED, CALL, REPLAY): CALL() and REPLAY() started
  % from the same states of "rand" (SEED(1)) and "randn" (SEED(end)) give the
  % same values bit for bit (NaN equal to NaN) and leave both generators at
  % the same place.  R is CALL()'s result.  Internal to the tests.
  rand('state', seed(1)); randn('state', seed(end));
  r = call(); next = [rand(), randn()];
  rand('state', seed(1)); randn('state', seed(end));
  ref = replay();
  if !isequaln(r, ref)
    error('the values differ from the replay');
  end
  if !isequal([rand(), randn()], next)
    error('the call left the generators elsewhere than the replay');
  end
end
