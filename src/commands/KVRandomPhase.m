function varargout = KVRandomPhase(varargin)
% KVRandomPhase  Add a seeded random phase to every sample of the field.
%
%   Fout = KVRandomPhase(seed, max, Fin)
%
%   seed  starts the random sequence; truncated to an integer
%   max   width of the interval of phases, in radians; truncated to an
%         integer before use (pi acts as 3, |max| < 1 as 0)
%   Fin   input field
%   Fout  output field, same grid as Fin
%
%   Each sample is multiplied by exp(i*phi), phi = (r/32767 - 0.5)*max, so
%   phi lies in [-max/2, max/2] and the amplitude is kept. r is drawn from
%   the toolbox's own 15-bit generator (values 0 to 32767), restarted from
%   seed at every call and drawn once per sample in storage order (down the
%   columns). The same seed gives the same screen on every platform, and
%   KVRandomIntensity with the same seed draws the same values.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVRandomPhase(42, 6, F);
%     imagesc(KVPhase(F)); axis image
%
%   See also KVRandomIntensity, KVMultPhase, KVPhase.

error('Korvane:notCompiled', ['KVRandomPhase is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
