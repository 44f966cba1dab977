function varargout = KVStructureFunction(varargin)
% KVStructureFunction  The phase structure function of an N x N array on the field's grid.
%
%   [D, r] = KVStructureFunction(Phase, Fin)
%   [D, r] = KVStructureFunction(Phase, Fin, Mask)
%   D = KVStructureFunction(...)
%
%   Phase  N x N real array, such as a screen of KVTurbScreen or an
%          unwrapped phase; any numeric or logical class
%   Fin    a field of the same N; only its grid is used (size and N)
%   Mask   N x N array, logical or numeric: the samples that count
%          (nonzero; NaN counts as outside), such as a pupil
%   D      (N/2 + 1) x 1 (N/2 rounded down): D(k+1) is the mean squared
%          phase difference of the samples k = 0 .. N/2 samples apart
%   r      (N/2 + 1) x 1: the separations r(k+1) = k*size/N
%
%   D(k+1) is the mean of (Phase(p + s) - Phase(p))^2 over every pair of
%   samples s = k samples apart along x (columns), averaged with equal
%   weight with the same mean along y (rows). Pairs do not wrap around the
%   grid. With Mask, only pairs whose two samples both lie in the mask
%   count; samples whose phase is NaN or infinite are left out too (a
%   measured wavefront with missing samples). Where one direction has no
%   pair at a separation, D is the other's mean; where neither has one,
%   NaN. D(1) is 0. A ramp Phase = a*x gives D = a^2 r^2/2.
%
%   For a screen of KVTurbScreen, compare D with the theory
%     D(r) = 6.8839 (r/r0)^(5/3)              (Kolmogorov)
%     D(r) = 4*pi * integral PSD(f) (1 - J0(2*pi*f*r)) f df   (any spectrum)
%   One screen's D scatters about the mean: average over many screens.
%
%   The sums over pairs are correlations along each line, formed by FFTs
%   of the lines padded to 2N: the cost is a few FFTs of the padded array.
%
%   Example:
%     F = KVBegin(0.5, 1e-6, 256);
%     Phase = KVTurbScreen(3, 0.02, Inf, 0, F);
%     [D, r] = KVStructureFunction(Phase, F);
%     loglog(r(2:end), D(2:end), r(2:end), 6.8839*(r(2:end)/0.02).^(5/3))
%
%   See also KVTurbScreen, KVPhaseUnwrap, KVPhase.

error('Korvane:notCompiled', ['KVStructureFunction is not compiled: run "make octave" (Octave) ' ...
       'or build_korvane (MATLAB), and add the build folder to the path.']);
end
