function varargout = rand(varargin)
  % Counts a call-back and the values it hands out (counted_generator), then
  % hands it to the built-in rand.
  [varargout{1:max(nargout, 1)}] = counted_generator('rand', max(nargout, 1), varargin);
end
