function varargout = KVGain(varargin)
% KVGain  A thin sheet of saturable laser gain.
%
%   Fout = KVGain(Isat, gain, L, Fin)
%
%   Isat  saturation intensity, in the units of |F|^2; 0 switches the gain
%         off
%   gain  small-signal gain coefficient per unit length
%   L     length of the gain medium
%   Fin   input field
%   Fout  output field, same grid and header as Fin
%
%   Every sample's intensity I is multiplied by exp(gain*L/(1 + I/Isat))
%   and its phase is kept: weak parts of the beam see the full gain
%   exp(gain*L), a part with I = Isat sees exp(gain*L/2). Zero samples stay
%   zero. Negative values are computed as given (a negative gain*L
%   attenuates).
%
%   Example:
%     F = KVGaussAperture(1e-3, 0, 0, 1, KVBegin(5e-3, 633e-9, 128));
%     F = KVGain(0.5, 2, 0.3, F);
%
%   See also KVIntAttenuator, KVIntensity.

error('Korvane:notCompiled', ['KVGain is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
