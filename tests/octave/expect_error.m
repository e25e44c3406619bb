function expect_error(f, message)
  % Calls f and checks that it fails with message (after Octave's
  % "function: " prefix).
  try
    f();
  catch err
    text = err.message;
    k = strfind(text, ': ');
    if !isempty(k) && !strcmp(text, message)
      text = text(k(1) + 2:end);
    end
    assert(strcmp(text, message), sprintf('expected "%s", got "%s"', message, err.message));
    assert(strncmp(err.identifier, 'bayesmex:', 9), sprintf('no identifier for "%s"', message));
    return;
  end
  error('expected the error "%s", but the call succeeded', message);
end
