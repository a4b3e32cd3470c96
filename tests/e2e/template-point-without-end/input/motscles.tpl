<html>
<body>
<!-- index des mots clés -->
<!-- <template target="principal" />
</body>
</html>
