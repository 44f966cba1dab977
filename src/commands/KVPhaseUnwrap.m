function varargout = KVPhaseUnwrap(varargin)
% KVPhaseUnwrap  Remove the 2*pi jumps from a square phase array, times K.
%
%   PhaseOut = KVPhaseUnwrap(K, PhaseIn)
%
%   K         factor applied to every unwrapped value (1 keeps radians)
%   PhaseIn   square real array of phases, such as the result of KVPhase
%   PhaseOut  real array of the same size: K times the unwrapped phase
%
%   The array is unwrapped outward from its centre element (row and column
%   floor(n/2)+1), which is kept as it is, in square rings: each value is
%   moved by whole steps of 6.283185308 until it lies within 3.141592654
%   of the mean of two or three neighbours already unwrapped. The result
%   is therefore the true phase shifted by the multiple of 2*pi that the
%   centre's wrapped value fixes, as long as neighbours differ by less than
%   pi. Odd sizes, 1 x 1, 2 x 2 and empty arrays are unwrapped in the same
%   ring order. Arrays of other numeric classes, logical and sparse arrays
%   are read as their values. NaN values pass through and leave their
%   neighbours unfolded; so do infinite values.
%
%   Example:
%     F = KVLens(-0.5, 0, 0, KVBegin(5e-3, 633e-9, 128));
%     Phi = KVPhaseUnwrap(1, KVPhase(F));
%     surf(Phi); shading interp
%
%   See also KVPhase, KVIntensity.

error('Korvane:notCompiled', ['KVPhaseUnwrap is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
